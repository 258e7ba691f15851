#include "shell/shell.h"

#include <algorithm>
#include <charconv>

#include "dialogs/connection_form.h"
#include "dialogs/maintenance_commands.h"
#include "dialogs/port_properties_form.h"
#include "dialogs/port_selection_form.h"
#include "dialogs/register_commands.h"
#include "dialogs/settings_commands.h"
#include "diagnostics/line_advice.h"
#include "forms/command_ids.h"
#include "link/port_problems.h"
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
constexpr const char* kJournalNotWritten = "Change journal not written: ";
constexpr const char* kLineCaption = "Notice(B_9600)";
constexpr int kFirmwareRegister = 28;
constexpr int kReportScaleFactor = 155;
// The adapter's latency timer is read again every five seconds of clock
// ticks: a technician may lower it while the program runs.
constexpr int kLatencyRereadTicks = 25;

std::vector<BlockKey> liveBlockKeys() {
  std::vector<BlockKey> keys;
  for (const LiveBlock& block : kLiveBlocks) keys.push_back({3, block.first, block.count});
  return keys;
}

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
      journaled_(master_, ChangeJournal(journalPath(setup_.dataDirectory)),
                 [&clock] { return clock.localTime(); }),
      playback_(view_.chart(), link_),
      log_(setup_.dataDirectory, clock.localTime()),
      line_(desktop_),
      context_{desktop_, lineMaster_, line_, link_, memory_, setup_.dataDirectory},
      monitor_(trace_, liveBlockKeys(), &ticks_),
      monitorForm_(
          monitor_,
          [this] { return lineAdvice(ticks_.statistics(), link_.portName, latencyTimer_); },
          setup_.dataDirectory) {
  // The worker has no job yet; the first is handed over under its lock.
  master_.setFrameTrace(&trace_);
  master_.stopRetriesWhen(&line_.stopFlag());
  line_.addListener(this);
  // Told on the worker, shown from the window's thread.
  journaled_.setProblemListener([this, self = std::weak_ptr(self_)](const std::string& problem) {
    desktop_.postEvent([self, problem] {
      if (const auto shell = self.lock()) (*shell)->showJournalProblem(problem);
    });
  });
}

Shell::~Shell() {
  line_.removeListener(this);
  line_.halt();
  master_.stopRetriesWhen(nullptr);
  master_.setFrameTrace(nullptr);
}

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
  int opened = MODBUS_CANCELLED;
  connectRead_.port = link_.portName;
  line_.wait([this, &opened] { opened = openPort(connectRead_.port, kConnectionRetries); });
  if (opened != 0) {
    link_.linkUp = false;
    notice(withOpenProblem(kOpenFailed), kLineCaption, Icon::None, false);
  } else {
    link_.linkUp = true;
  }
  ConnectionForm form(desktop_, link_, connectionTicks_, line_);
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
  if (id == CMD_EXIT) {
    exitCommand();
    return;
  }
  // Held, to run once the line is free, as it would have run after a request
  // that held the window: never a second sequence on the line. One chosen
  // while another command waits for its reads runs once that command is
  // over, rather than opening its dialog over the other's.
  if (waitsForLine(id) && !lineFree()) {
    heldCommands_.push_back(id);
    showCommStatus();
    return;
  }
  ++commandsRunning_;
  runCommand(id);
  if (--commandsRunning_ == 0 && !line_.busy()) lineIdle();
}

bool Shell::waitsForLine(int id) {
  switch (id) {
    case CMD_LOG_ENABLE:
    case CMD_LOG_DISABLE:
    case CMD_ZOOM_IN:
    case CMD_ZOOM_OUT:
    case CMD_LINE_MONITOR:
    case WM_OPEN_LOG: return false;
    default: return true;
  }
}

void Shell::runCommand(int id) {
  switch (id) {
    case CMD_CONNECT: connect(); break;
    case CMD_DISCONNECT: disconnect(); break;
    case CMD_COMM_PORT: commPort(); break;
    case CMD_COMM_PORT_PROPERTIES: {
      PortPropertiesForm properties(link_.portName);
      desktop_.runForm(properties);
      break;
    }
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
    case CMD_CHANGE_HISTORY: changeHistoryCommand(context_); break;
    case CMD_LINE_MONITOR: showLineMonitor(); break;
    case WM_OPEN_LOG: openLog(); break;
    default: return;  // every other id is ignored
  }
  if (ended_) return;
  // A command's dialog may have moved the controller to another address.
  showPort();
  showCommStatus();
}

// The commands that came while the line was busy go back to the event loop
// in their order, ahead of a tick that fell due meanwhile.
void Shell::lineIdle() {
  while (commandsRunning_ == 0 && !heldCommands_.empty()) {
    post(heldCommands_.front());
    heldCommands_.pop_front();
  }
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
  if (!lineFree()) {
    connectionDue_ = true;
    return;
  }
  connectionDue_ = false;
  connectRead_.slave = link_.slaveAddress;
  line_.start(
      [this] {
        connectRead_.probe = journaled_.readHoldingRegisters(connectRead_.slave, kFirmwareRegister,
                                                             connectRead_.firmware.data(), 2);
      },
      [this] { connectionStepDone(); });
}

void Shell::connectionStepDone() {
  // Given up meanwhile (Cancel, or the dialog's own limit): nothing follows.
  if (ended_ || !desktop_.timerRunning(CONNECT_TIMER)) return;
  const int read = connectRead_.probe;
  link_.firmwareVersion = connectRead_.firmware[0];
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
  if (link_.connectSuccesses >= kConnectSuccessesNeeded) {
    finishConnecting();
  } else if (connectionDue_) {
    connectionStep();
  }
}

void Shell::finishConnecting() {
  desktop_.killTimer(CONNECT_TIMER);
  ConnectRead& c = connectRead_;
  c.port = link_.portName;
  c.slave = link_.slaveAddress;
  line_.start(
      [this] {
        ConnectRead& r = connectRead_;
        // From here on a request gets its retries, as it does after every Connect.
        master_.close();
        r.opened = openPort(r.port, kRetries);
        if (r.opened != 0) return;
        // These results are not looked at: a failed read leaves zeros.
        journaled_.readHoldingRegisters(r.slave, REG_MAX_PRESSURE, r.limits.data(), 4);
        journaled_.readHoldingRegisters(r.slave, REG_WARMUP_TIMER_START, r.warmUp.data(), 4);
        r.probe = journaled_.readHoldingRegisters(r.slave, REG_CAL_TIMER_START, r.type.data(), 2);
      },
      [this] { finishConnectingDone(); });
}

void Shell::finishConnectingDone() {
  if (ended_) return;
  const ConnectRead& r = connectRead_;
  if (r.opened != 0) {
    link_.linkUp = false;
    if (connectionForm_ != nullptr) connectionForm_->dismiss();
    notice(withOpenProblem(kOpenFailed), kLineCaption, Icon::None, false);
    return;
  }
  // The user gave up while the port was being reopened: no polling.
  if (connectionForm_ == nullptr) return;
  connected_ = true;
  link_.pressureRangeMin = r.limits[REG_MIN_PRESSURE - REG_MAX_PRESSURE] / 1000.0;
  link_.pressureRangeMax = r.limits[0] / 1000.0;
  link_.serialNumber = r.limits[REG_SERIAL_NUMBER - REG_MAX_PRESSURE];
  link_.warmUpSetting = r.warmUp[0];
  if (r.probe == 0 && r.type[REG_AFR_FACTOR - REG_CAL_TIMER_START] == kReportScaleFactor) {
    link_.reportScale = kReportScaleFactor;
  }
  desktop_.startTimer(POLL_TIMER, kTimerMilliseconds);
  connectionForm_->dismiss();
}

void Shell::pollStep() {
  if (!lineFree()) {
    pollDue_ = true;
    // The reply is later than a tick: the status bar says it is awaited.
    pollOverdue_ = pollOut_;
    return;
  }
  pollDue_ = false;
  logRecord_.timeStamp = static_cast<std::int32_t>(clock_.unixTime());
  link_.reportDivisor = 100000.0;
  pollRead_.slave = link_.slaveAddress;
  pollOut_ = true;
  ticks_.tickStarted();
  line_.start([this] { readLiveBlocks(journaled_, pollRead_); }, [this] { pollStepDone(); });
}

void Shell::pollStepDone() {
  ticks_.tickEnded();
  pollOut_ = false;
  pollOverdue_ = false;
  if (ended_) return;
  takeLiveRead(link_, pollRead_);
  const bool allRead = std::all_of(link_.readResults.begin(), link_.readResults.end(),
                                   [](std::int32_t result) { return result == 0; });
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
    return;
  }
  // A command that waited for this tick goes first; the overdue tick after it.
  if (pollDue_ && heldCommands_.empty() && desktop_.timerRunning(POLL_TIMER)) pollStep();
}

// ---- Commands ----

void Shell::connect() {
  link_.pollFailures = 1;
  link_.commStatus = 0;
  connected_ = false;
  connectRead_.port = link_.portName;
  connectRead_.slave = link_.slaveAddress;
  line_.start(
      [this] {
        ConnectRead& r = connectRead_;
        if (master_.isOpen()) master_.close();
        r.opened = openPort(r.port, kRetries);
        if (r.opened == 0) {
          r.probe = journaled_.readHoldingRegisters(r.slave, REG_MAX_PRESSURE, r.limits.data(), 4);
        }
      },
      [this] { connectDone(); });
}

void Shell::connectDone() {
  if (ended_) return;
  if (connectRead_.opened != 0) {
    link_.linkUp = false;
    notice(withOpenProblem(kOpenFailed), kLineCaption, Icon::None, false);
    return;
  }
  if (connectRead_.probe != 0) {
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
  line_.start(
      [this] {
        if (master_.isOpen()) master_.close();
      },
      {});
}

void Shell::commPort() {
  desktop_.killTimer(POLL_TIMER);
  PortSelectionForm selection(link_, findSerialDevices());
  const int result = desktop_.runForm(selection);
  if (result == -1) {
    notice("Dialog failed!", "Notice", Icon::Information, true);
    return;
  }
  if (result != 1) return;

  int opened = MODBUS_CANCELLED;
  bool open = false;
  connectRead_.port = link_.portName;
  line_.wait([this, &opened, &open] {
    if (master_.isOpen()) master_.close();
    opened = openPort(connectRead_.port, kRetries);
    open = master_.isOpen();
  });
  connected_ = open;
  if (const auto file = commConfigPath(setup_.dataDirectory);
      !writeCommConfig(file, link_.portName)) {
    notice("The port setting could not be saved in " + file.string() + ".", "Notice",
           Icon::Exclamation, true);
  }
  PortPropertiesForm properties(link_.portName);
  desktop_.runForm(properties);
  showPort();
  if (open) {
    desktop_.startTimer(POLL_TIMER, kTimerMilliseconds);
  } else if (opened == MODBUS_PORT_OPEN_FAILED) {
    notice(withOpenProblem(
               "The selected communication port is not available.\nFree the port and try again."),
           "Notice", Icon::Exclamation, false);
  } else {
    notice(withOpenProblem("Connection failed."), "ComPort Communication Timeout", Icon::None,
           false);
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
  watchLine();
}

// ---- Line diagnostics ----

// The line monitor takes the trace's new frames while its window is closed,
// so that its statistics cover the run (while open, the window takes them, so
// that its table changes only when it is told), and the status bar follows
// what the ticks and the adapter advise.
void Shell::watchLine() {
  if (!monitorForm_.shown()) monitor_.refresh();
  if (latencyPort_ != link_.portName || ++latencyAge_ >= kLatencyRereadTicks) {
    latencyPort_ = link_.portName;
    latencyAge_ = 0;
    latencyTimer_ = adapterLatencyTimer(link_.portName);
  }
  showProblems();
}

// Beside the main window, polling going on.
void Shell::showLineMonitor() {
  if (!desktop_.showForm(monitorForm_)) {
    notice("Error creating line monitor window", "", Icon::None, false);
  }
}

// Ticks slowed by time-outs are said by the communication status: the
// advice is for ticks that are answered, only too slowly.
std::string Shell::lineProblem() const {
  TickStatistics ticks = ticks_.statistics();
  if (link_.commStatus != 0) ticks.recentOverruns = 0;
  const std::string status = lineAdvice(ticks, link_.portName, latencyTimer_).status;
  return status.empty() ? status : status + " \u2014 see Tools \u2192 Line Monitor";
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
  releasePort();
  sendExitCommand();
  log_.close();
  return true;
}

void Shell::exitCommand() {
  ended_ = true;
  releasePort();
  log_.close();
  for (const int timer : {POLL_TIMER, CLOCK_TIMER, CONNECT_TIMER}) desktop_.killTimer(timer);
  sendExitCommand();
  if (setup_.endProcess) setup_.endProcess(0);
}

// The request in hand on the line finishes (the window's event loop goes on
// meanwhile), its retries cut short; then the worker lets go of the port for
// good, so that "OUT" can go out on it.
void Shell::releasePort() {
  line_.shutDown([this] { master_.close(); });
}

// Tells the controller that the service tool is leaving, now that the master
// has let go of the port.
void Shell::sendExitCommand() {
  ExitCommandWindow window;
  window.warn = [this](const std::string& text, const std::string& caption) {
    notice(text, caption, Icon::Exclamation, false);
  };
  master_.sendExitCommand(window, link_.portName, kBaudRate);
}

// ---- Window ----

void Shell::onResize(int width, int height) { view_.resize(width, height); }

void Shell::onPaint(Canvas& canvas) {
  view_.paint(canvas, link_, playback_);
  showProblems();
  setStatus(0, printTo(text_, "QX4 Serial Nr: %d", link_.serialNumber));
  showCommStatus();
}

// Receiving only while polling goes on, its last tick was answered and the
// one out is not late (its reply not due after the next tick); a timer just
// started waits for its first tick, whoever started it. Every other request
// out on the line waits for a reply too.
CommState Shell::commState() const {
  if (link_.playbackMode) return CommState::Playback;
  if (desktop_.timerRunning(POLL_TIMER)) {
    if (!pollTicked_) return CommState::WaitingForData;
    if (link_.commStatus != 0) return CommState::TimedOut;
    return pollOverdue_ ? CommState::WaitingForReply : CommState::Receiving;
  }
  if (desktop_.timerRunning(CONNECT_TIMER) && link_.linkUp) return CommState::WaitingForData;
  if (!lineFree()) return CommState::WaitingForReply;
  return connected_ ? CommState::PollingStopped : CommState::NotConnected;
}

void Shell::timerChanged(int id, bool running) {
  if (id == POLL_TIMER && running) {
    pollTicked_ = false;
    pollDue_ = false;
  }
  showCommStatus();
}

// ---- Helpers ----

// Another controller may answer on the port from now on: the journal claims
// nothing read before as the value a register held.
int Shell::openPort(const std::string& port, int retries) {
  journaled_.setPort(port);
  journaled_.forgetReadValues();
  master_.setRetries(retries);
  const int opened = master_.open(port, kBaudRate, 8, 1, 0);
  if (opened != 0 && master_.isOpen()) master_.close();
  // The system is asked here, off the window's thread: finding the program
  // that holds a port reads every process's open files.
  const bool refused = opened == MODBUS_PORT_OPEN_FAILED || opened == MODBUS_PORT_IN_USE;
  connectRead_.openProblem = refused ? explainOpenFailure(port, opened) : std::string();
  return opened;
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

// What keeps the polls' records or the journal's lines from the disk, if
// anything; both when both. Polling and writing go on regardless, and each new
// record or line tries its file again.
std::string Shell::storageProblem() const {
  std::string problem;
  if (folderError_) {
    problem = "Data folder cannot be created: " + folderError_.message();
  } else if (const auto error = log_.error()) {
    // Both for one reason, as on a full disk: said once.
    if (journalProblem_ == std::string(kJournalNotWritten) + error.message()) {
      return "Log file and change journal not written: " + error.message();
    }
    problem = "Log file not written: " + error.message();
  }
  if (journalProblem_.empty()) return problem;
  return problem.empty() ? journalProblem_ : problem + "   " + journalProblem_;
}

// Shown at once, as a dialog holds the poll and with it the repaint. The
// journal's path would crowd the status bar out; like the log file's, it is
// left to the README.
void Shell::showJournalProblem(std::string problem) {
  const std::string path = journalPath(setup_.dataDirectory).string() + ": ";
  if (const auto at = problem.find(path); at != std::string::npos) problem.erase(at, path.size());
  journalProblem_ = std::move(problem);
  if (!ended_) showProblems();
}

// The status bar's third part: what keeps records from the disk, then what
// the line advises, so that the first is the last to be cut short; the
// communication status keeps a part of its own.
void Shell::showProblems() {
  std::string shown = storageProblem();
  const std::string line = lineProblem();
  if (!shown.empty() && !line.empty()) shown += "   ";
  setStatus(2, shown + line);
}

// A message of the program's own, and below it, as a paragraph of its own,
// why the port would not open where the system can tell.
std::string Shell::withOpenProblem(std::string text) const {
  const std::string& why = connectRead_.openProblem;
  if (why.empty()) return text;
  if (text.back() != '\n') text += '\n';
  return text + "\n" + why;
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
