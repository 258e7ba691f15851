#pragma once

namespace vs {

// Main window command ids, as the menu and the keys send them.
enum CommandId : int {
  CMD_CONNECT = 40001,
  CMD_DISCONNECT = 40002,
  CMD_COMM_PORT = 40006,
  CMD_COMM_PORT_PROPERTIES = 40007,
  CMD_EXIT = 40009,
  CMD_LOG_ENABLE = 40013,
  CMD_LOG_DISABLE = 40014,
  CMD_PLAYBACK = 40015,
  CMD_ZOOM_IN = 40019,
  CMD_ZOOM_OUT = 40020,
  CMD_GOVERNOR_SETTINGS = 40021,
  CMD_TRAVELER_REPORT = 40026,
  CMD_FORCE_DIGITAL_INPUTS = 40029,
  CMD_PRESSURE_SETTINGS = 40031,
  CMD_O2_SENSOR_SETTINGS = 40032,
  CMD_CALIBRATE_VALVE = 40033,
  CMD_FREE_AIR_CALIBRATION = 40036,
  CMD_O2_SCHEDULE = 40037,
  CMD_DOWNLOAD_SETTINGS = 40039,
  CMD_UPLOAD_SETTINGS = 40040,
  CMD_ZERO_TRANSDUCER = 40044,
  CMD_CHANGE_HISTORY = 40045,
  CMD_LINE_MONITOR = 40047,
};

// The first application message: close the log file and open the current hour's.
inline constexpr int WM_OPEN_LOG = 0x8000;

// Main window timers, all 200 ms.
inline constexpr int POLL_TIMER = 5001;
inline constexpr int CONNECT_TIMER = 5003;
inline constexpr int CLOCK_TIMER = 5004;

}  // namespace vs
