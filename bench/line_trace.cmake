# The frame trace's cost to the master (CPU per transaction with and without
# it), the memory its ring holds, and the line monitor's refresh with 10,000
# frames held.
if(NOT WIN32)
  add_executable(line_trace_bench ${CMAKE_CURRENT_LIST_DIR}/line_trace.cpp)
  target_link_libraries(line_trace_bench PRIVATE valvescope_core)
  valvescope_warnings(line_trace_bench)
endif()
