# The Windows main window's full repaint at 1920 x 1080 through GdiCanvas,
# beside app_repaint_bench's Qt figure; run under Wine by make windows-bench.
if(TARGET valvescope_win32)
  add_executable(app_repaint_win32_bench ${CMAKE_CURRENT_LIST_DIR}/app_repaint_win32.cpp)
  target_include_directories(app_repaint_win32_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/widgets)
  target_link_libraries(app_repaint_win32_bench PRIVATE valvescope_win32)
  valvescope_warnings(app_repaint_win32_bench)
endif()
