# The chart canvas over QImage and the font matching shared with the desktop window.
add_library(tavimo_chart_raster
  ${CMAKE_CURRENT_LIST_DIR}/RasterCanvas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RasterFill.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RasterFonts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RasterLines.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RasterPolygon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RasterText.cpp
)
target_link_libraries(tavimo_chart_raster PUBLIC tavimo_chart Qt6::Gui)
