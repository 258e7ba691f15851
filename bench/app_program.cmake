# The valvescope program itself with --simulate: time to the first logged
# poll, CPU use over a minute of polling, peak memory.
if(TARGET valvescope AND NOT WIN32)
  add_executable(app_program_bench ${CMAKE_CURRENT_LIST_DIR}/app_program.cpp)
  target_link_libraries(app_program_bench PRIVATE valvescope_core)
  target_compile_definitions(app_program_bench PRIVATE
                             VS_VALVESCOPE_BINARY="$<TARGET_FILE:valvescope>")
  add_dependencies(app_program_bench valvescope)
  valvescope_warnings(app_program_bench)
endif()
