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

// Playback Dialog
#define IDD_PLAYBACK 109
#define IDC_PLAYBACK_SLIDER 1008
#define IDC_PLAYBACK_DATE 1009
#define IDC_PLAYBACK_PATH 1010
#define IDC_PLAYBACK_OPEN 1011
#define IDC_PLAYBACK_PLAY 1026
#define IDC_PLAYBACK_REVERSE 1027
#define IDC_PLAYBACK_PAUSE 1028
#define IDC_PLAYBACK_STOP 1029
#define IDC_PLAYBACK_FORWARD 1030
#define IDC_PLAYBACK_STATUS 1031  // why a chosen file leaves nothing to play
#define IDC_PLAYBACK_EXPORT 1032  // Export CSV

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
#define IDC_TRAVELER_SAVE_PDF 3
#define IDC_TRAVELER_VALVE_SERIAL 1037
#define IDC_TRAVELER_PART_NUMBER 1038
#define IDC_TRAVELER_ENGINE_TYPE 1039
#define IDC_TRAVELER_CUSTOMER 1040
#define IDC_TRAVELER_BOARD_SERIAL 1041
#define IDC_TRAVELER_TECHNICIAN 1042
#define IDC_TRAVELER_HARDWARE_VERSION 1043
#define IDC_TRAVELER_BOARD_VERSION 1044
#define IDC_TRAVELER_COMMENT 1046
#define IDC_TRAVELER_REPORT_FOR 1076

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

// Upload and download of settings files: Upload Settings' status line is
// IDC_SETTINGS_STATUS.
#define IDD_UPLOAD_SETTINGS 139
#define IDD_DOWNLOAD_SETTINGS 140
#define IDC_SETTINGS_FILE 1033
#define IDC_DOWNLOAD_STATUS 1036
#define IDC_DOWNLOAD_PROGRESS 1017
#define IDC_DOWNLOAD_WITHOUT_BACKUP 1050

// Comm Port Properties: numbered after its command
#define IDD_PORT_PROPERTIES 40007
#define IDC_PROPERTIES_PORT 1101
#define IDC_PROPERTIES_BAUD 1102
#define IDC_PROPERTIES_DATA_BITS 1103
#define IDC_PROPERTIES_PARITY 1104
#define IDC_PROPERTIES_STOP_BITS 1105
#define IDC_PROPERTIES_FLOW_CONTROL 1106
