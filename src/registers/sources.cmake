list(APPEND VS_CORE_SOURCES
  registers/mode_label.cpp
  registers/register_map.cpp
  registers/register_values.cpp
  registers/settings_file.cpp
  registers/settings_transfer.cpp
)
