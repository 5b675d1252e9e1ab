tavimo_benchmark(tavimo_number_text_bench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/number_text_bench.cpp
  LIBS tavimo_runtime
)
