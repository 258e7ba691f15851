# What polling costs the machine: the Linux program and valvescope.exe under
# Wine (with and without the Line Monitor open) on one Xvfb screen, CPU per
# process from /proc; run by make windows-bench.
if(TARGET valvescope AND NOT WIN32)
  add_executable(app_program_wine_bench ${CMAKE_CURRENT_LIST_DIR}/app_program_wine.cpp)
  target_compile_definitions(app_program_wine_bench PRIVATE
                             VS_VALVESCOPE_BINARY="$<TARGET_FILE:valvescope>")
  add_dependencies(app_program_wine_bench valvescope)
  valvescope_warnings(app_program_wine_bench)
endif()
