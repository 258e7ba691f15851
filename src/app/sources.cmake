list(APPEND VS_QT_SOURCES
  app/connection_view.cpp
  app/exit_signals.cpp
  app/form_dialog.cpp
  app/form_views.cpp
  app/main_window.cpp
  app/panel_widget.cpp
  app/port_properties_view.cpp
  app/port_selection_view.cpp
  app/qt_prompts.cpp
)
list(APPEND VS_CORE_SOURCES
  app/command_line.cpp
  app/comm_config.cpp
  app/connection_form.cpp
  app/data_paths.cpp
  app/live_values.cpp
  app/live_view.cpp
  app/mode_labels.cpp
  app/port_selection_form.cpp
  app/shell.cpp
  app/watched_desktop.cpp
)
list(APPEND VS_CORE_POSIX_SOURCES app/serial_devices_posix.cpp)
list(APPEND VS_CORE_WIN32_SOURCES app/serial_devices_win32.cpp)
