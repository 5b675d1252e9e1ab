# Batch levels: the calculator's CSV batch against a strtod/snprintf loop
# (batch_bench), and a command-line driver for the memory check and the
# pandas comparison (bench/batch_compare.sh).
tavimo_benchmark(batch_bench
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/batch_bench.cpp
  LIBS tavimo_calc tavimo_batch
)
add_executable(batch_levels_run ${CMAKE_CURRENT_SOURCE_DIR}/batch_levels_run.cpp)
target_include_directories(batch_levels_run PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(batch_levels_run PRIVATE tavimo_batch)
