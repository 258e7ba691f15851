list(APPEND VS_CORE_SOURCES
  dialogs/command_frame.cpp
  dialogs/force_inputs_form.cpp
  dialogs/free_air_calibration_form.cpp
  dialogs/governor_settings_form.cpp
  dialogs/maintenance_commands.cpp
  dialogs/o2_schedule_form.cpp
  dialogs/o2_sensor_settings_form.cpp
  dialogs/password_gate_form.cpp
  dialogs/pressure_settings_form.cpp
  dialogs/settings_commands.cpp
  dialogs/settings_form.cpp
  dialogs/typed_numbers.cpp
  dialogs/zero_transducer_form.cpp
)
list(APPEND VS_QT_SOURCES
  dialogs/arranged_settings_view.cpp
  dialogs/dialog_widgets.cpp
  dialogs/force_inputs_view.cpp
  dialogs/free_air_calibration_view.cpp
  dialogs/governor_settings_view.cpp
  dialogs/o2_schedule_view.cpp
  dialogs/password_gate_view.cpp
  dialogs/settings_dialog_view.cpp
  dialogs/zero_transducer_view.cpp
)
