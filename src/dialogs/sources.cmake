list(APPEND VS_CORE_SOURCES
  dialogs/command_frame.cpp
  dialogs/o2_sensor_settings_form.cpp
  dialogs/password_gate_form.cpp
  dialogs/pressure_settings_form.cpp
  dialogs/settings_commands.cpp
  dialogs/settings_form.cpp
  dialogs/typed_numbers.cpp
  dialogs/zero_transducer_form.cpp
)
