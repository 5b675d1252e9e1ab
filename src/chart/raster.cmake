# The chart canvas over QImage, the font matching shared with the desktop window,
# and PNG pictures of the chart for programs without Qt of their own.
add_library(tavimo_chart_raster
  ${CMAKE_CURRENT_LIST_DIR}/RasterCanvas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RasterFonts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RasterOutput.cpp
)
target_link_libraries(tavimo_chart_raster PUBLIC tavimo_chart Qt6::Gui)
