# Start-up of the desktop program against a minimal Qt Widgets program, both
# built here and run under the same display (bench/app_startup.sh).
if(TAVIMO_BUILD_GUI)
  add_executable(app_startup_minimal ${CMAKE_CURRENT_SOURCE_DIR}/app_startup_minimal.cpp)
  target_link_libraries(app_startup_minimal PRIVATE Qt6::Widgets)
  tavimo_benchmark(app_startup SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/app_startup.cpp)
  target_compile_definitions(app_startup PRIVATE TAVIMO_PROGRAM="$<TARGET_FILE:tavimo>"
                                                 MINIMAL_PROGRAM="$<TARGET_FILE:app_startup_minimal>")
  add_dependencies(app_startup tavimo app_startup_minimal)
endif()
