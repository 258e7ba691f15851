#pragma once

#include <array>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "diagnostics/line_monitor.h"
#include "diagnostics/tick_recorder.h"
#include "dialogs/line_monitor_form.h"
#include "forms/desktop.h"
#include "forms/line_master.h"
#include "forms/link_worker.h"
#include "forms/service_memory.h"
#include "forms/shell_context.h"
#include "forms/valve_link.h"
#include "journal/journaling_master.h"
#include "link/frame_trace.h"
#include "link/modbus_serial_master.h"
#include "logging/clock.h"
#include "logging/log_record.h"
#include "logging/log_writer.h"
#include "logging/playback_state.h"
#include "shell/comm_status.h"
#include "shell/live_values.h"
#include "shell/live_view.h"
#include "shell/watched_desktop.h"

namespace vs {

class Canvas;
class ConnectionForm;

// The keys the main window acts on.
enum class ShellKey { F2, F3, F4, F12, Escape, Other };

struct ShellSetup {
  // comm_config.dat, the logs, the change journal and backups, the file choosers
  std::filesystem::path dataDirectory;
  // A port for this run only (--port, or the simulated controller's line):
  // comm_config.dat is then not read at start-up.
  std::optional<std::string> port;
  bool simulated = false;  // `port` is the built-in simulated controller
  // Ends the program at once with the exit code (the Exit command).
  std::function<void(int)> endProcess;
};

// The main window's behaviour without the window: start-up, the connection
// step and the poll step, the commands and keys, the log files, the repaint
// and both ways out. The window system comes in through Desktop, which calls
// back into the on...() handlers from its event loop, one at a time.
//
// The serial line works beside the window: the connection and poll steps and
// Connect and Disconnect hand their requests to the link worker and go on when
// the answer comes back as an event; a command's and a dialog's requests run
// there while the window waits with its event loop going (LineMaster). A
// command that needs the line while it is busy waits for it, and so does a
// tick: a tick that falls due while the last one is still out is not doubled
// but starts the moment that one is done, as an overdue timer would.
//
// Every request on the line goes through the journaling master, so every
// register a command or a dialog writes is on record in the data folder's
// change journal; a journal that cannot be written is said in the status bar.
//
// Every frame on the line is traced for the whole run, and the poll's ticks
// timed: the Line Monitor shows them, and the status bar says when the ticks
// overrun their period or the port's USB adapter holds replies too long.
class Shell : private WatchedDesktop::Watcher, private LinkWorker::Listener {
 public:
  static constexpr int kBaudRate = 9600;
  static constexpr int kTimerMilliseconds = 200;
  // Retries of every request while polling and in the dialogs: a reply spoilt
  // by noise costs one quick retry instead of a failed poll.
  static constexpr int kRetries = 3;
  // The connection step repeats its probe twenty times by itself, so retrying
  // inside one attempt would only make a missing controller take four times as
  // long to report.
  static constexpr int kConnectionRetries = 0;
  static constexpr int kConnectAttemptLimit = 20;
  static constexpr int kConnectSuccessesNeeded = 9;
  static constexpr int kFailedPollLimit = 3;  // one more and the link is taken as lost

  // `master` is used on the link worker's thread only.
  Shell(Desktop& desktop, ModbusSerialMaster& master, const Clock& clock, ShellSetup setup);
  ~Shell();
  Shell(const Shell&) = delete;
  Shell& operator=(const Shell&) = delete;

  // The window has been created: status bar texts and timers.
  void onCreate();
  // The window is on screen: read the port, open it and run the connection
  // dialog until the controller answers or the user gives up.
  void startUp();
  void onTimer(int id);
  // A command id of the menu, or an application message (WM_OPEN_LOG).
  void onCommand(int id);
  void onKey(ShellKey key);
  // The close box: asks, and shuts down on Yes. True when the window is to go.
  bool onClose();
  void onResize(int width, int height);
  void onPaint(Canvas& canvas);

  // After Exit or a confirmed close nothing more is done.
  bool ended() const { return ended_; }
  bool logFileEnabled() const { return log_.enabled(); }
  // A request is out on the serial line, or its answer not yet handled.
  bool lineBusy() const { return line_.busy(); }

  ValveLink& link() { return link_; }
  LiveView& view() { return view_; }
  PlaybackState& playback() { return playback_; }
  LogWriter& logWriter() { return log_; }
  ServiceMemory& memory() { return memory_; }
  LineMonitor& lineMonitor() { return monitor_; }
  const std::string& statusText(int part) const {
    return status_.at(static_cast<std::size_t>(part));
  }

 private:
  // What Connect, the connection step and its last part read on the worker.
  struct ConnectRead {
    std::string port;
    int slave = 1;
    int opened = 0;
    int probe = 0;
    std::array<std::int16_t, 2> firmware{};
    std::array<std::int16_t, 4> limits{};
    std::array<std::int16_t, 4> warmUp{};
    std::array<std::int16_t, 2> type{};
    std::string openProblem;  // why the port would not open, where the system can tell
  };

  CommState commState() const;
  void timerChanged(int id, bool running) override;
  void modalLoopStarting() override { showCommStatus(); }
  void lineWaiting(bool) override { showCommStatus(); }
  void lineIdle() override;

  bool lineFree() const { return !line_.busy() && !line_.waiting(); }
  // Commands that neither use the line nor open a dialog run at once;
  // others wait while the line is busy.
  static bool waitsForLine(int id);
  void runCommand(int id);
  void connectionStep();
  void connectionStepDone();
  void finishConnecting();
  void finishConnectingDone();
  void pollStep();
  void pollStepDone();
  void connect();
  void connectDone();
  void disconnect();
  void commPort();
  void playbackCommand();
  void exitCommand();
  // Lets the request in hand finish, closes the port and ends the worker.
  void releasePort();
  void clockTick();
  void watchLine();
  void showLineMonitor();
  void openLog();
  // On the worker: opens `port` at 9600 8N1 with the given retries; a failed
  // open never leaves the port held.
  int openPort(const std::string& port, int retries);
  void post(int id) { desktop_.postCommand(id); }
  int notice(const std::string& text, const std::string& caption, Icon icon, bool owned);
  void sendExitCommand();
  void showPort();
  void showCommStatus();
  std::string storageProblem() const;
  void showJournalProblem(std::string problem);
  std::string lineProblem() const;
  void showProblems();
  std::string withOpenProblem(std::string text) const;
  void setStatus(int part, std::string_view text);

  WatchedDesktop desktop_;
  ModbusSerialMaster& master_;  // the worker's
  const Clock& clock_;
  ShellSetup setup_;
  JournalingMaster journaled_;  // master_ with its writes on record; the worker's

  ValveLink link_;
  ServiceMemory memory_;
  LiveView view_;
  PlaybackState playback_;
  LogWriter log_;
  LogRecord logRecord_;

  int connectionTicks_ = 0;                   // the connection dialog's, kept between runs
  ConnectionForm* connectionForm_ = nullptr;  // while the dialog runs
  // The controller answered and polling started; it stays so while a command
  // holds the poll timer, and ends with Disconnect, a lost link, a failed
  // Connect or playback.
  bool connected_ = false;
  bool pollTicked_ = false;      // a poll tick has ended since the poll timer last started
  std::error_code folderError_;  // the data folder could not be created at start-up
  std::string journalProblem_;   // why the journal's last line was not written
  bool ended_ = false;
  std::array<std::string, 4> status_;  // what each status bar part shows
  TextBuffer text_{};

  // The serial line. What its jobs read is written there and read here only
  // once the job is back.
  LiveRead pollRead_;
  ConnectRead connectRead_;
  bool pollOut_ = false;          // a poll tick's reads are out
  bool pollOverdue_ = false;      // ... and its timer has fired again meanwhile
  bool pollDue_ = false;          // a poll tick fell due while the line was busy
  bool connectionDue_ = false;    // a connection step fell due while the line was busy
  std::deque<int> heldCommands_;  // commands that came while the line was busy
  int commandsRunning_ = 0;       // nested in their dialogs' and message boxes' loops
  FrameTrace trace_;              // recorded by the worker's master
  LinkWorker line_;               // after everything its jobs touch
  LineMaster lineMaster_{line_, journaled_};
  ShellContext context_;
  // What the journal's problem reports hold on to: one that arrives after the
  // shell has gone does nothing.
  std::shared_ptr<Shell*> self_ = std::make_shared<Shell*>(this);

  // The line's diagnostics, on the window's side.
  TickRecorder ticks_;
  LineMonitor monitor_;
  LineMonitorForm monitorForm_;
  std::string latencyPort_;  // the port whose adapter's latency timer was last read
  std::optional<int> latencyTimer_;
  int latencyAge_ = 0;  // clock ticks since it was read
};

}  // namespace vs
