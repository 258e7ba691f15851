list(APPEND VS_CORE_SOURCES
  registers/calibration_list_form.cpp
  registers/download_settings_form.cpp
  registers/register_commands.cpp
  registers/register_map.cpp
  registers/register_values.cpp
  registers/settings_file.cpp
  registers/settings_file_chooser.cpp
  registers/settings_transfer.cpp
  registers/upload_settings_form.cpp
)
list(APPEND VS_QT_SOURCES
  registers/calibration_list_view.cpp
  registers/settings_file_views.cpp
)
