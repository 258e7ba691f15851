#pragma once

// Every dialog's template number and control ids, shared by the templates
// (dialogs/*.rc) and the views. Plain #defines: the resource compiler reads
// this file too. The numbers are the forms' own (src/dialogs, ...); each view
// checks the ids its form names. One block per dialog.

// Controls every template may use.
#define IDC_STATIC -1
#define IDC_SETTINGS_STATUS 1034  // a settings dialog's status line

// Select Communication Port
#define IDD_PORT_SELECTION 108
#define IDC_PORT_NUMBER 1005
#define IDC_PORT_DEVICE_ID 1016
#define IDC_PORT_DEVICE 1018  // the serial devices present, to pick one instead

// Playback
#define IDD_PLAYBACK 109

// Establishing communication
#define IDD_CONNECTION 110
#define IDC_CONNECTION_PROGRESS 1017

// Calibration registers
#define IDD_CALIBRATION_LIST 111
#define IDC_CALIBRATION_LIST 1018
#define IDC_CALIBRATION_VALUE 1020
#define IDC_CALIBRATION_CHANGE 1021

// Required Information: the password gate
#define IDD_PASSWORD_GATE 112
#define IDC_PASSWORD 1022

// Governor settings: its status line is not the settings dialogs' 1034,
// which is a gain here.
#define IDD_GOVERNOR_SETTINGS 114
#define IDC_GOVERNOR_PROPORTIONAL_MIN 1031
#define IDC_GOVERNOR_PROPORTIONAL_MAX 1032
#define IDC_GOVERNOR_INTEGRAL_MIN 1033
#define IDC_GOVERNOR_INTEGRAL_MAX 1034
#define IDC_GOVERNOR_SPEED_SET_POINT 1036
#define IDC_GOVERNOR_IDLE_DELAY 1038
#define IDC_GOVERNOR_OVERSPEED 1040
#define IDC_GOVERNOR_OFFSET 1046
#define IDC_GOVERNOR_CRANK_SPEED 1048
#define IDC_GOVERNOR_SPEED_MIN 1051
#define IDC_GOVERNOR_SPEED_MAX 1052
#define IDC_GOVERNOR_RAMP_RATE 1054
#define IDC_GOVERNOR_IDLE_SPEED 1056
#define IDC_GOVERNOR_DERIVATIVE_MIN 1058
#define IDC_GOVERNOR_DERIVATIVE_MAX 1060
#define IDC_GOVERNOR_STATUS 1062
#define IDC_GOVERNOR_SPEED_GAIN_ADC 1074
#define IDC_GOVERNOR_SPEED_GAIN_ARROWS 1075
#define IDC_GOVERNOR_SPEED_GAIN_IC 1076

// Traveler report
#define IDD_TRAVELER_REPORT 117

// Force digital inputs: per row a read-only state and the value to force
#define IDD_FORCE_INPUTS 119
#define IDC_FORCE_RELEASE_ALL 1057
#define IDC_FORCE_IGNITION_STATE 1056
#define IDC_FORCE_IGNITION_VALUE 1059
#define IDC_FORCE_ACTUATOR_POWER_STATE 1054
#define IDC_FORCE_ACTUATOR_POWER_VALUE 1060
#define IDC_FORCE_ACTUATOR_STATE 1066
#define IDC_FORCE_ACTUATOR_VALUE 1065
#define IDC_FORCE_SENSOR_IGNORE_STATE 1055
#define IDC_FORCE_SENSOR_IGNORE_VALUE 1061
#define IDC_FORCE_HEATER_STATE 1058
#define IDC_FORCE_HEATER_VALUE 1062
#define IDC_FORCE_SENSOR_STATE 1063
#define IDC_FORCE_SENSOR_VALUE 1064

// Pressure Settings
#define IDD_PRESSURE_SETTINGS 120
#define IDC_PRESSURE_PROPORTIONAL_GAIN 1002
#define IDC_PRESSURE_INTEGRAL_GAIN 1003
#define IDC_PRESSURE_ALT_START 1004
#define IDC_PRESSURE_DEFAULT 1005
#define IDC_PRESSURE_MAX 1006
#define IDC_PRESSURE_MIN 1011

// O2 sensor settings
#define IDD_O2_SENSOR_SETTINGS 121
#define IDC_O2_INTEGRAL_GAIN 1001
#define IDC_O2_SET_POINT 1007
#define IDC_O2_WARM_UP_TIMER 1008
#define IDC_O2_CALIBRATION_TIMER 1009  // hidden: carried through

// O2 free-air calibration
#define IDD_FREE_AIR_CALIBRATION 122
#define IDC_FREE_AIR_PROGRESS 1017
#define IDC_FREE_AIR_STATUS 1069
#define IDC_FREE_AIR_HEADING 1070

// Zero transducer: the instructions, one static each, in order
#define IDD_ZERO_TRANSDUCER 137
#define IDC_ZERO_HEADING 1070
#define IDC_ZERO_WARNING 1071
#define IDC_ZERO_STEPS 1072
#define IDC_ZERO_STEP_1 1073
#define IDC_ZERO_STEP_2 1074
#define IDC_ZERO_STEP_3 1075

// Dynamic O2 set-point schedule: a pressure and an O2 edit per point
#define IDD_O2_SCHEDULE 138
#define IDC_SCHEDULE_PRESSURE_1 1054
#define IDC_SCHEDULE_O2_1 1055
#define IDC_SCHEDULE_PRESSURE_2 1056
#define IDC_SCHEDULE_O2_2 1057
#define IDC_SCHEDULE_PRESSURE_3 1058
#define IDC_SCHEDULE_O2_3 1059
#define IDC_SCHEDULE_PRESSURE_4 1060
#define IDC_SCHEDULE_O2_4 1061
#define IDC_SCHEDULE_PRESSURE_5 1062
#define IDC_SCHEDULE_O2_5 1063
#define IDC_SCHEDULE_ENABLE_DISABLE 1081

// Upload and download of settings files
#define IDD_UPLOAD_SETTINGS 139
#define IDD_DOWNLOAD_SETTINGS 140

// Comm Port Properties: numbered after its command
#define IDD_PORT_PROPERTIES 40007
#define IDC_PROPERTIES_PORT 1101
#define IDC_PROPERTIES_BAUD 1102
#define IDC_PROPERTIES_DATA_BITS 1103
#define IDC_PROPERTIES_PARITY 1104
#define IDC_PROPERTIES_STOP_BITS 1105
#define IDC_PROPERTIES_FLOW_CONTROL 1106
