# The level calculator: one whole compute command against a C library baseline.
tavimo_benchmark(calc_bench
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/calc_bench.cpp
  LIBS tavimo_calc
)
