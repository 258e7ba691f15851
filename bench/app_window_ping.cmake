# The main window's answers to a window manager's _NET_WM_PING under Xvfb while
# the controller is silent. Built where the xcb headers are (they come with
# Qt's own dependencies); it skips at run time when Xvfb is missing.
find_package(X11 QUIET)
if(TARGET valvescope AND TARGET qx4-sim AND TARGET X11::xcb AND NOT WIN32)
  add_executable(app_window_ping_bench ${CMAKE_CURRENT_LIST_DIR}/app_window_ping.cpp)
  target_link_libraries(app_window_ping_bench PRIVATE X11::xcb)
  target_compile_definitions(app_window_ping_bench PRIVATE
                             VS_VALVESCOPE_BINARY="$<TARGET_FILE:valvescope>"
                             VS_QX4_SIM_BINARY="$<TARGET_FILE:qx4-sim>")
  add_dependencies(app_window_ping_bench valvescope qx4-sim)
  valvescope_warnings(app_window_ping_bench)
endif()
