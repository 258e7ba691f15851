#include "shell/shell.h"

#include <algorithm>
#include <charconv>

#include "dialogs/connection_form.h"
#include "dialogs/maintenance_commands.h"
#include "dialogs/port_properties_form.h"
#include "dialogs/port_selection_form.h"
#include "dialogs/register_commands.h"
#include "dialogs/settings_commands.h"
#include "forms/command_ids.h"
#include "link/send_exit_command.h"
#include "link/serial_devices.h"
#include "logging/playback_form.h"
#include "registers/register_map.h"
#include "report/traveler_report_form.h"
#include "shell/comm_config.h"
#include "shell/comm_status.h"
#include "shell/data_paths.h"
#include "shell/live_values.h"

namespace vs {
namespace {

constexpr const char* kOpenFailed = "Error opening communication port!\n";
constexpr const char* kLineCaption = "Notice(B_9600)";
constexpr int kFirmwareRegister = 28;
constexpr int kReportScaleFactor = 155;
// The result kept for a block that was not read because an earlier one failed.
constexpr std::int32_t kNotRead = -1;

// The window title once the controller has told its firmware version, which
// is printed without regard to the user's locale.
std::string firmwareTitle(std::int16_t firmwareVersion) {
  char number[16];
  const auto end = std::to_chars(number, number + sizeof number, firmwareVersion / 100.0,
                                 std::chars_format::fixed, 2)
                       .ptr;
  return "QX4 Valvescope v.1.02  ___  Firmware v. " + std::string(number, end);
}

}  // namespace

Shell::Shell(Desktop& desktop, ModbusSerialMaster& master, const Clock& clock, ShellSetup setup)
    : desktop_(desktop, *this),
      master_(master),
      clock_(clock),
      setup_(std::move(setup)),
      playback_(view_.chart(), link_),
      log_(setup_.dataDirectory, clock.localTime()),
      context_{desktop_, master_, link_, memory_, setup_.dataDirectory} {}

void Shell::onCreate() {
  setStatus(0, "QX4 Serial No.:");
  setStatus(2, "O2 Module Status:");
  setStatus(3, commStatusText(commState()));
  showPort();
  desktop_.startTimer(CONNECT_TIMER, kTimerMilliseconds);
  desktop_.startTimer(CLOCK_TIMER, kTimerMilliseconds);
}

void Shell::startUp() {
  folderError_ = ensureDataDirectory(setup_.dataDirectory);
  if (setup_.port) {
    link_.portName = *setup_.port;
  } else {
    const auto file = commConfigPath(setup_.dataDirectory);
    const auto problem = commConfigProblem(readCommConfig(file, link_.portName));
    if (!problem.empty()) {
      notice(file.string() + " " + std::string(problem) + ".\nValvescope uses " + link_.portName +
                 " instead.",
             "Notice", Icon::Exclamation, false);
    }
  }
  showPort();
  if (openPort(kConnectionRetries) != 0) {
    link_.linkUp = false;
    notice(kOpenFailed, kLineCaption, Icon::None, false);
  } else {
    link_.linkUp = true;
  }
  ConnectionForm form(desktop_, link_, connectionTicks_);
  connectionForm_ = &form;
  const int result = desktop_.runForm(form);
  connectionForm_ = nullptr;
  if (result == ANSWER_CANCEL) desktop_.killTimer(CONNECT_TIMER);
  showCommStatus();
}

void Shell::onTimer(int id) {
  if (ended_) return;
  switch (id) {
    case CONNECT_TIMER: connectionStep(); break;
    case POLL_TIMER: pollStep(); break;
    case CLOCK_TIMER: clockTick(); break;
    default: break;
  }
  showCommStatus();
}

void Shell::onCommand(int id) {
  if (ended_) return;
  switch (id) {
    case CMD_CONNECT: connect(); break;
    case CMD_DISCONNECT: disconnect(); break;
    case CMD_COMM_PORT: commPort(); break;
    case CMD_COMM_PORT_PROPERTIES: {
      PortPropertiesForm properties(link_.portName);
      desktop_.runForm(properties);
      break;
    }
    case CMD_EXIT: exitCommand(); break;
    case CMD_LOG_ENABLE: log_.setEnabled(true); break;
    case CMD_LOG_DISABLE: log_.setEnabled(false); break;
    case CMD_PLAYBACK: playbackCommand(); break;
    // A closing menu uncovers nothing in a composited window system, so the
    // new layout is asked for here rather than left to the next poll.
    case CMD_ZOOM_IN:
      link_.chartZoomed = true;
      desktop_.invalidate(false);
      break;
    case CMD_ZOOM_OUT:
      link_.chartZoomed = false;
      desktop_.invalidate(false);
      break;
    case CMD_PRESSURE_SETTINGS: pressureSettingsCommand(context_); break;
    case CMD_O2_SENSOR_SETTINGS: o2SensorSettingsCommand(context_); break;
    case CMD_CALIBRATE_VALVE: calibrateValveCommand(context_); break;
    case CMD_DOWNLOAD_SETTINGS: downloadSettingsCommand(context_); break;
    case CMD_UPLOAD_SETTINGS: uploadSettingsCommand(context_); break;
    case CMD_ZERO_TRANSDUCER: zeroTransducerCommand(context_); break;
    case CMD_GOVERNOR_SETTINGS: governorSettingsCommand(context_); break;
    case CMD_TRAVELER_REPORT: travelerReportCommand(context_); break;
    case CMD_FORCE_DIGITAL_INPUTS: forceDigitalInputsCommand(context_); break;
    case CMD_FREE_AIR_CALIBRATION: freeAirCalibrationCommand(context_); break;
    case CMD_O2_SCHEDULE: o2ScheduleCommand(context_); break;
    case WM_OPEN_LOG: openLog(); break;
    default: return;  // every other id is ignored
  }
  if (ended_) return;
  // A command's dialog may have moved the controller to another address.
  showPort();
  showCommStatus();
}

void Shell::onKey(ShellKey key) {
  if (ended_) return;
  switch (key) {
    case ShellKey::F2: post(CMD_PRESSURE_SETTINGS); break;
    case ShellKey::F3: post(CMD_O2_SENSOR_SETTINGS); break;
    case ShellKey::F4: post(CMD_CALIBRATE_VALVE); break;
    case ShellKey::F12:
      post(CMD_DISCONNECT);
      post(CMD_CONNECT);
      break;
    case ShellKey::Escape: post(CMD_EXIT); break;
    case ShellKey::Other: break;
  }
}

// ---- Connection step and poll step ----

void Shell::connectionStep() {
  if (!link_.linkUp) return;
  std::array<std::int16_t, 2> firmware{};
  const int read = this->read(kFirmwareRegister, firmware.data(), 2);
  link_.firmwareVersion = firmware[0];
  if (read == 0) {
    desktop_.setTitle(firmwareTitle(link_.firmwareVersion));
    ++link_.connectSuccesses;
  }
  ++link_.connectAttempts;
  if (link_.connectAttempts == kConnectAttemptLimit && read != 0) {
    if (connectionForm_ != nullptr) connectionForm_->dismiss();
    desktop_.killTimer(CONNECT_TIMER);
    notice(
        "Co nnection failed. \nPlease check the cable, communication port and device ID settings.",
        "Communication Timeout", Icon::None, false);
    return;
  }
  if (link_.connectSuccesses >= kConnectSuccessesNeeded) finishConnecting();
}

void Shell::finishConnecting() {
  desktop_.killTimer(CONNECT_TIMER);
  // From here on a request gets its retries, as it does after every Connect.
  master_.close();
  if (openPort(kRetries) != 0) {
    link_.linkUp = false;
    if (connectionForm_ != nullptr) connectionForm_->dismiss();
    notice(kOpenFailed, kLineCaption, Icon::None, false);
    return;
  }
  connected_ = true;
  // These results are not looked at: a failed read leaves zeros.
  std::array<std::int16_t, 4> limits{};
  read(REG_MAX_PRESSURE, limits.data(), 4);
  link_.pressureRangeMin = limits[REG_MIN_PRESSURE - REG_MAX_PRESSURE] / 1000.0;
  link_.pressureRangeMax = limits[0] / 1000.0;
  link_.serialNumber = limits[REG_SERIAL_NUMBER - REG_MAX_PRESSURE];
  std::array<std::int16_t, 4> warmUp{};
  read(REG_WARMUP_TIMER_START, warmUp.data(), 4);
  link_.warmUpSetting = warmUp[0];
  std::array<std::int16_t, 2> type{};
  if (read(REG_CAL_TIMER_START, type.data(), 2) == 0 &&
      type[REG_AFR_FACTOR - REG_CAL_TIMER_START] == kReportScaleFactor) {
    link_.reportScale = kReportScaleFactor;
  }
  desktop_.startTimer(POLL_TIMER, kTimerMilliseconds);
  if (connectionForm_ != nullptr) connectionForm_->dismiss();
}

void Shell::pollStep() {
  logRecord_.timeStamp = static_cast<std::int32_t>(clock_.unixTime());
  link_.reportDivisor = 100000.0;
  const bool allRead = readLiveBlocks();
  link_.firmwareVersion = link_.liveA[kFirmwareRegister - 12];

  fillLiveValues(link_);

  if (allRead) {
    link_.linkUp = true;
    desktop_.invalidate(false);
    logRecord_.values = link_.liveValues;
    log_.write(logRecord_);
    link_.pollFailures = 0;
    link_.commStatus = 0;
  } else {
    ++link_.commStatus;
    ++link_.pollFailures;
  }
  pollTicked_ = true;

  if (link_.pollFailures > kFailedPollLimit) {
    connected_ = false;
    desktop_.killTimer(POLL_TIMER);
    desktop_.invalidate(false);
    post(CMD_DISCONNECT);
    post(CMD_CONNECT);
    if (link_.linkUp && link_.commStatus > kFailedPollLimit) {
      link_.commStatus = 10;
      link_.linkUp = false;
      desktop_.killTimer(POLL_TIMER);
      notice("Communication time-out", "13Information", Icon::Exclamation, true);
    }
  }
}

// Reads the four live blocks in order and stops at the first that fails: on a
// dead line every further block would only add its own time-outs, all on the
// window's thread. The blocks not read are left at zero, as a failed read
// leaves its block.
bool Shell::readLiveBlocks() {
  bool allRead = true;
  for (std::size_t i = 0; i < kLiveBlocks.size(); ++i) {
    const LiveBlock& block = kLiveBlocks[i];
    std::int16_t* image = liveImage(link_, i);
    if (allRead) {
      link_.readResults[i] = read(block.first, image, block.count);
      allRead = link_.readResults[i] == 0;
    } else {
      std::fill_n(image, block.count, std::int16_t{0});
      link_.readResults[i] = kNotRead;
    }
  }
  return allRead;
}

// ---- Commands ----

void Shell::connect() {
  link_.pollFailures = 1;
  link_.commStatus = 0;
  connected_ = false;
  if (master_.isOpen()) master_.close();
  if (openPort(kRetries) != 0) {
    link_.linkUp = false;
    notice(kOpenFailed, kLineCaption, Icon::None, false);
    return;
  }
  std::array<std::int16_t, 4> probe{};
  if (read(REG_MAX_PRESSURE, probe.data(), 4) != 0) {
    link_.linkUp = false;
    ++link_.commStatus;
    notice("Communication Time-out!\n", kLineCaption, Icon::None, false);
    return;
  }
  link_.linkUp = true;
  link_.playbackMode = false;
  connected_ = true;
  post(WM_OPEN_LOG);
  desktop_.startTimer(POLL_TIMER, kTimerMilliseconds);
}

void Shell::disconnect() {
  connected_ = false;
  desktop_.killTimer(POLL_TIMER);
  log_.close();
  if (master_.isOpen()) master_.close();
}

void Shell::commPort() {
  desktop_.killTimer(POLL_TIMER);
  PortSelectionForm selection(link_, listSerialDevices());
  const int result = desktop_.runForm(selection);
  if (result == -1) {
    notice("Dialog failed!", "Notice", Icon::Information, true);
    return;
  }
  if (result != 1) return;

  if (master_.isOpen()) master_.close();
  const int opened = openPort(kRetries);
  connected_ = master_.isOpen();
  if (const auto file = commConfigPath(setup_.dataDirectory);
      !writeCommConfig(file, link_.portName)) {
    notice("The port setting could not be saved in " + file.string() + ".", "Notice",
           Icon::Exclamation, true);
  }
  PortPropertiesForm properties(link_.portName);
  desktop_.runForm(properties);
  showPort();
  if (master_.isOpen()) {
    desktop_.startTimer(POLL_TIMER, kTimerMilliseconds);
  } else if (opened == MODBUS_PORT_OPEN_FAILED) {
    notice("The selected communication port is not available.\nFree the port and try again.",
           "Notice", Icon::Exclamation, false);
  } else {
    notice("Connection failed.", "ComPort Communication Timeout", Icon::None, false);
  }
}

void Shell::playbackCommand() {
  link_.playbackMode = true;
  connected_ = false;
  post(CMD_DISCONNECT);
  desktop_.killTimer(POLL_TIMER);
  log_.close();
  desktop_.invalidate(true);
  link_.commStatus = 100;
  PlaybackForm form(playback_, desktop_, setup_.dataDirectory, clock_.localTime().date());
  if (desktop_.runForm(form) < 0) {
    notice("Error creating playback dialog", "Playback", Icon::Exclamation, false);
  }
}

// ---- Log files ----

void Shell::clockTick() {
  if (log_.onClockTick(clock_.localTime())) post(WM_OPEN_LOG);
}

// A log file that opens shows that the data folder is there after all.
void Shell::openLog() {
  if (log_.openForHour(clock_.localTime())) folderError_.clear();
}

// ---- Shutdown ----

bool Shell::onClose() {
  if (ended_) return true;
  if (desktop_.messageBox("Are you sure you want to close window?", "Confirm Window Close",
                          Icon::Question, Buttons::YesNo, false) != ANSWER_YES) {
    return false;
  }
  ended_ = true;
  for (const int timer : {POLL_TIMER, CLOCK_TIMER, CONNECT_TIMER}) desktop_.killTimer(timer);
  master_.close();
  sendExitCommand();
  log_.close();
  return true;
}

void Shell::exitCommand() {
  ended_ = true;
  if (master_.isOpen()) master_.close();
  log_.close();
  for (const int timer : {POLL_TIMER, CLOCK_TIMER, CONNECT_TIMER}) desktop_.killTimer(timer);
  sendExitCommand();
  if (setup_.endProcess) setup_.endProcess(0);
}

// Tells the controller that the service tool is leaving, now that the master
// has let go of the port.
void Shell::sendExitCommand() {
  ExitCommandWindow window;
  window.warn = [this](const std::string& text, const std::string& caption) {
    notice(text, caption, Icon::Exclamation, false);
  };
  SendExitCommand(window, link_.portName, kBaudRate, EXIT_COMMAND_OUT);
}

// ---- Window ----

void Shell::onResize(int width, int height) { view_.resize(width, height); }

void Shell::onPaint(Canvas& canvas) {
  view_.paint(canvas, link_, playback_);
  setStatus(2, storageProblem());
  setStatus(0, printTo(text_, "QX4 Serial Nr: %d", link_.serialNumber));
  showCommStatus();
}

// Receiving only while polling goes on and its last tick was answered; a
// timer just started waits for its first tick, whoever started it.
CommState Shell::commState() const {
  if (link_.playbackMode) return CommState::Playback;
  if (desktop_.timerRunning(POLL_TIMER)) {
    if (!pollTicked_) return CommState::WaitingForData;
    return link_.commStatus == 0 ? CommState::Receiving : CommState::TimedOut;
  }
  if (desktop_.timerRunning(CONNECT_TIMER) && link_.linkUp) return CommState::WaitingForData;
  return connected_ ? CommState::PollingStopped : CommState::NotConnected;
}

void Shell::timerChanged(int id, bool running) {
  if (id == POLL_TIMER && running) pollTicked_ = false;
  showCommStatus();
}

// ---- Helpers ----

int Shell::openPort(int retries) {
  master_.setRetries(retries);
  const int opened = master_.open(link_.portName, kBaudRate, 8, 1, 0);
  if (opened != 0 && master_.isOpen()) master_.close();
  return opened;
}

int Shell::read(int firstRegister, std::int16_t* out, int count) {
  return master_.readHoldingRegisters(link_.slaveAddress, firstRegister, out, count);
}

int Shell::notice(const std::string& text, const std::string& caption, Icon icon, bool owned) {
  return desktop_.messageBox(text, caption, icon, Buttons::Ok, owned);
}

// The status bar's second part says where the program is talking to.
void Shell::showPort() {
  if (setup_.simulated && setup_.port && link_.portName == *setup_.port) {
    setStatus(1, "Simulated QX4 controller (no valve connected)");
  } else {
    setStatus(1, "Port: " + link_.portName + "   Device ID: " + std::to_string(link_.slaveAddress));
  }
}

void Shell::showCommStatus() {
  if (!ended_) setStatus(3, commStatusText(commState()));
}

// What keeps the polls' records from the disk, if anything. Polling goes on
// regardless, and each new record tries the file again.
std::string Shell::storageProblem() const {
  if (folderError_) return "Data folder cannot be created: " + folderError_.message();
  if (const auto error = log_.error()) return "Log file not written: " + error.message();
  return {};
}

// Only a changed text reaches the window, so an unchanged status bar costs a
// repaint nothing.
void Shell::setStatus(int part, std::string_view text) {
  std::string& shown = status_.at(static_cast<std::size_t>(part));
  if (shown == text) return;
  shown.assign(text);
  desktop_.setStatusText(part, shown);
}

}  // namespace vs
