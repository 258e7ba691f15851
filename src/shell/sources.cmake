list(APPEND VS_CORE_SOURCES
  shell/comm_config.cpp
  shell/comm_status.cpp
  shell/command_line.cpp
  shell/data_paths.cpp
  shell/live_values.cpp
  shell/live_view.cpp
  shell/shell.cpp
  shell/watched_desktop.cpp
)
