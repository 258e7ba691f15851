# Full repaints of the instrument panel on a 1920 x 1080 image, and AddSample.
if(TARGET valvescope_qt)
  add_executable(widgets_paint ${CMAKE_CURRENT_LIST_DIR}/widgets_paint.cpp)
  target_include_directories(widgets_paint PRIVATE ${PROJECT_SOURCE_DIR}/tests/widgets)
  target_link_libraries(widgets_paint PRIVATE valvescope_qt)
  valvescope_warnings(widgets_paint)
endif()
