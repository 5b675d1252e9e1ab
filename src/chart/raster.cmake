# The chart canvas over QImage, the font matching shared with the desktop window,
# and PNG pictures of the chart for programs without Qt of their own.
add_library(tavimo_chart_raster
  ${CMAKE_CURRENT_LIST_DIR}/RasterCanvas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RasterFill.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RasterFonts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RasterLines.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RasterOutput.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RasterPolygon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RasterText.cpp
)
# Qt stays private: a target that includes RasterCanvas.h or RasterFonts.h
# (the window, the raster tests) links Qt itself; everyone else uses
# RasterOutput.h and cannot reach a Qt header.
target_link_libraries(tavimo_chart_raster PUBLIC tavimo_chart PRIVATE Qt6::Gui)
