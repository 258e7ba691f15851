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

// Required Information: the password gate
#define IDD_PASSWORD_GATE 112
#define IDC_PASSWORD 1022

// Governor settings
#define IDD_GOVERNOR_SETTINGS 114

// Traveler report
#define IDD_TRAVELER_REPORT 117

// Force digital inputs
#define IDD_FORCE_INPUTS 119

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

// O2 free-air calibration
#define IDD_FREE_AIR_CALIBRATION 122

// Zero transducer
#define IDD_ZERO_TRANSDUCER 137

// Dynamic O2 set-point schedule
#define IDD_O2_SCHEDULE 138

// Upload and download of settings files
#define IDD_UPLOAD_SETTINGS 139
#define IDD_DOWNLOAD_SETTINGS 140

// Change History
#define IDD_CHANGE_HISTORY 141
#define IDC_HISTORY_SERIAL 1301
#define IDC_HISTORY_TABLE 1302
#define IDC_HISTORY_STATUS 1303
#define IDC_HISTORY_RESTORE 1304

// Comm Port Properties: numbered after its command
#define IDD_PORT_PROPERTIES 40007
#define IDC_PROPERTIES_PORT 1101
#define IDC_PROPERTIES_BAUD 1102
#define IDC_PROPERTIES_DATA_BITS 1103
#define IDC_PROPERTIES_PARITY 1104
#define IDC_PROPERTIES_STOP_BITS 1105
#define IDC_PROPERTIES_FLOW_CONTROL 1106

// Line Monitor, beside the main window: numbered after its command
#define IDD_LINE_MONITOR 40047
#define IDC_MONITOR_STATISTICS 1201
#define IDC_MONITOR_TICKS 1202
#define IDC_MONITOR_NOTES 1203
#define IDC_MONITOR_ADVICE 1204
#define IDC_MONITOR_PAUSE 1205
#define IDC_MONITOR_CLEAR 1206
#define IDC_MONITOR_ERRORS_ONLY 1207
#define IDC_MONITOR_SAVE 1208
#define IDC_MONITOR_STATUS 1209
#define IDC_MONITOR_FRAMES 1210
