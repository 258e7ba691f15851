# Playback of a 24-hour log: opening it, jumping from the slider, CSV export.
add_executable(playback_bench ${CMAKE_CURRENT_LIST_DIR}/playback.cpp)
target_link_libraries(playback_bench PRIVATE valvescope_core)
valvescope_warnings(playback_bench)
