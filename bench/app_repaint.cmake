# The main window's full repaint at 1920 x 1080: the live view drawn off
# screen, then copied in one piece; and the chart's AddSample.
if(TARGET valvescope_qt)
  add_executable(app_repaint_bench ${CMAKE_CURRENT_LIST_DIR}/app_repaint.cpp)
  target_include_directories(app_repaint_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/widgets)
  target_link_libraries(app_repaint_bench PRIVATE valvescope_qt)
  valvescope_warnings(app_repaint_bench)
endif()
