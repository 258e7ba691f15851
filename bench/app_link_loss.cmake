# What a technician waits for when the controller does not answer: start-up
# with no controller until "Co nnection failed", and a cable pulled while
# polling until the lost link is reported; the longest the window is held.
if(NOT WIN32)
  add_executable(app_link_loss_bench ${CMAKE_CURRENT_LIST_DIR}/app_link_loss.cpp)
  target_link_libraries(app_link_loss_bench PRIVATE valvescope_core)
  valvescope_warnings(app_link_loss_bench)
endif()
