# The price-history library: a command-line driver for the whole-process read
# of a download file against pandas (bench/price_file_compare.sh) and for
# FindSwings against R's TTR zigzag on the same data (bench/swings_compare.sh).
add_executable(price_history_run ${CMAKE_CURRENT_SOURCE_DIR}/price_history_run.cpp)
target_include_directories(price_history_run PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(price_history_run PRIVATE tavimo_history)
