# The chart benchmarks: the raster canvas against Qt Charts and the fill and copy floors.
# Qt Charts is needed by this benchmark alone.
if(NOT TAVIMO_BUILD_GUI)
  return()
endif()
find_package(Qt6 COMPONENTS Charts Widgets)
if(NOT Qt6Charts_FOUND)
  message(STATUS "Qt Charts not found: chart benchmark not built")
  return()
endif()
tavimo_benchmark(tavimo_chart_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/chart_bench.cpp
  LIBS tavimo_chart_raster Qt6::Charts Qt6::Widgets)
