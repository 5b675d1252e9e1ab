# The chart benchmarks: the raster canvas against Qt Charts and the fill and copy floors.
# Qt Charts is needed by this benchmark alone; a benchmark build without it
# stops here rather than leaving the chart figures out unnoticed.
if(NOT TAVIMO_BUILD_GUI)
  message(STATUS "Chart benchmark not built: this build has no raster canvas (TAVIMO_BUILD_GUI=OFF)")
  return()
endif()
find_package(Qt6 COMPONENTS Charts Widgets)
if(NOT Qt6Charts_FOUND)
  message(FATAL_ERROR
    "The chart benchmark needs Qt Charts, which CMake could not load"
    " (Debian packages qt6-charts-dev and libqt6opengl6-dev).\n"
    "Install them with: scripts/deps.sh bench\n"
    "or configure without benchmarks: -DTAVIMO_BUILD_BENCH=OFF")
endif()
tavimo_benchmark(tavimo_chart_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/chart_bench.cpp
  LIBS tavimo_chart_raster Qt6::Charts Qt6::Widgets)
