#pragma once

// The main window's resources, shared by valvescope.rc and the code that
// loads them. Plain #defines: the resource compiler reads this file too.

#define IDI_VALVESCOPE 1
#define IDC_STATUS_BAR 103
#define IDR_MAIN_MENU 104
#define IDR_KEYS 105

// Menu items: the main window's command ids (forms/command_ids.h).
#define IDM_CONNECT 40001
#define IDM_DISCONNECT 40002
#define IDM_COMM_PORT 40006
#define IDM_COMM_PORT_PROPERTIES 40007
#define IDM_EXIT 40009
#define IDM_LOG_ENABLE 40013
#define IDM_LOG_DISABLE 40014
#define IDM_PLAYBACK 40015
#define IDM_ZOOM_IN 40019
#define IDM_ZOOM_OUT 40020
#define IDM_GOVERNOR_SETTINGS 40021
#define IDM_TRAVELER_REPORT 40026
#define IDM_FORCE_DIGITAL_INPUTS 40029
#define IDM_PRESSURE_SETTINGS 40031
#define IDM_O2_SENSOR_SETTINGS 40032
#define IDM_CALIBRATE_VALVE 40033
#define IDM_FREE_AIR_CALIBRATION 40036
#define IDM_O2_SCHEDULE 40037
#define IDM_DOWNLOAD_SETTINGS 40039
#define IDM_UPLOAD_SETTINGS 40040
#define IDM_ZERO_TRANSDUCER 40044
#define IDM_CHANGE_HISTORY 40045
#define IDM_LINE_MONITOR 40047

// What the key table sends for the keys the main window acts on; the
// window hands them to the shell as keys, as the other front end does.
#define IDK_F2 41002
#define IDK_F3 41003
#define IDK_F4 41004
#define IDK_F12 41012
#define IDK_ESCAPE 41027
