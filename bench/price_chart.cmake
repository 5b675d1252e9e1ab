# The price chart's paint against a fill of the same frame: candles, swings
# and level lines at 1920x1080, for a thousand bars in view and for a
# million zoomed out; and the library's part of opening a file (read,
# swings, statistics, the first frame) against reading it alone.
if(NOT TAVIMO_BUILD_GUI)
  message(STATUS "Price chart benchmark not built: this build has no raster canvas (TAVIMO_BUILD_GUI=OFF)")
  return()
endif()
tavimo_benchmark(tavimo_price_chart_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/price_chart_bench.cpp
  LIBS tavimo_chart_raster tavimo_pricechart Qt6::Gui)
