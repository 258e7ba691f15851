// The shell against the simulated controller on a pty at 9600 baud, with the
// master's own one-second time-out, driven by a small real-time event loop
// that fires timers as a window system does (a late timer fires once) and
// delivers what the link worker posts. It measures what a technician waits
// for when the controller does not answer, and the longest single handler,
// which is how long the window is held.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "forms/command_ids.h"
#include "forms/form.h"
#include "link/modbus_rtu_master.h"
#include "shell/shell.h"
#include "sim/pty_simulator.h"
#include "sim/simulated_controller.h"

namespace {

using Clock = std::chrono::steady_clock;
using Duration = Clock::duration;

double secondsOf(Duration d) { return std::chrono::duration<double>(d).count(); }

struct Timer {
  Duration period;
  Clock::time_point due;
};

using Timers = std::map<int, Timer>;

void start(Timers& timers, int id, int milliseconds) {
  const auto period = std::chrono::milliseconds(milliseconds);
  timers[id] = {period, Clock::now() + period};
}

// The main window and its modal form, on real time. Message boxes are
// answered at once, after the commands queued behind them have run.
class TimedDesktop : public vs::Desktop {
 public:
  vs::Shell* shell = nullptr;
  Duration longestHandler{};
  std::map<std::string, Clock::time_point> firstBox;

  void startTimer(int id, int milliseconds) override { start(timers_, id, milliseconds); }
  void killTimer(int id) override { timers_.erase(id); }
  void postCommand(int id) override { posted_.push_back(id); }
  int messageBox(const std::string& text, const std::string& caption, vs::Icon, vs::Buttons,
                 bool) override {
    firstBox.try_emplace(caption + "|" + text, Clock::now());
    runPosted();
    return vs::ANSWER_OK;
  }
  int runForm(vs::Form& form) override {
    FormTimers host(*this, form);
    form.init();
    runUntil([&form] { return form.isEnded(); }, std::chrono::minutes(10));
    return form.result();
  }
  void invalidate(bool) override {}
  void setTitle(const std::string&) override {}
  void setStatusText(int, const std::string&) override {}
  std::optional<std::string> chooseFile(const vs::FileDialogRequest&) override { return {}; }
  void postEvent(std::function<void()> event) override {
    {
      std::lock_guard lock(mutex_);
      events_.push_back(std::move(event));
    }
    arrived_.notify_one();
  }
  // The loop goes on while the line works: the window is not held meanwhile.
  void waitForLine(const std::function<bool()>& done) override {
    const Duration nestedBefore = nested_;
    const auto began = Clock::now();
    runUntil(done, std::chrono::minutes(10));
    nested_ = nestedBefore + (Clock::now() - began);
  }

  template <typename Done>
  bool runUntil(Done done, Duration limit) {
    const auto end = Clock::now() + limit;
    while (!done() && Clock::now() < end) {
      if (!runPosted()) waitForNext(end);
    }
    return done();
  }

 private:
  class FormTimers : public vs::FormHost {
   public:
    FormTimers(TimedDesktop& desktop, vs::Form& form) : desktop_(desktop), form_(form) {
      form.attach(this);
      desktop_.form_ = this;
    }
    ~FormTimers() override {
      form_.attach(nullptr);
      desktop_.form_ = nullptr;
    }
    void startTimer(int id, int milliseconds) override { start(timers, id, milliseconds); }
    void killTimer(int id) override { timers.erase(id); }
    void post(int message, std::intptr_t param) override { posted.emplace_back(message, param); }
    int messageBox(const std::string& text, const std::string& caption, vs::Icon icon,
                   vs::Buttons buttons) override {
      return desktop_.messageBox(text, caption, icon, buttons, false);
    }
    std::optional<std::string> chooseFile(const vs::FileDialogRequest&) override { return {}; }

    Timers timers;
    std::deque<std::pair<int, std::intptr_t>> posted;
    vs::Form& form() { return form_; }

   private:
    TimedDesktop& desktop_;
    vs::Form& form_;
  };

  // Runs what is queued: the line's events, the form's messages, the
  // commands. False when nothing was.
  bool runPosted() {
    bool ran = false;
    for (;;) {
      std::function<void()> event;
      {
        std::lock_guard lock(mutex_);
        if (!events_.empty()) {
          event = std::move(events_.front());
          events_.pop_front();
        }
      }
      if (event) {
        timed(event);
      } else if (form_ != nullptr && !form_->posted.empty()) {
        const auto [message, param] = form_->posted.front();
        form_->posted.pop_front();
        form_->form().deliver(message, param);
      } else if (!posted_.empty()) {
        const int id = posted_.front();
        posted_.pop_front();
        timed([&] { shell->onCommand(id); });
      } else {
        return ran;
      }
      ran = true;
    }
  }

  // Sleeps until the next timer falls due or the line posts, and fires it.
  void waitForNext(Clock::time_point limit) {
    Timers* owner = nullptr;
    Timers::iterator next;
    for (Timers* timers : {&timers_, form_ != nullptr ? &form_->timers : nullptr}) {
      if (timers == nullptr) continue;
      for (auto it = timers->begin(); it != timers->end(); ++it) {
        if (owner == nullptr || it->second.due < next->second.due) {
          owner = timers;
          next = it;
        }
      }
    }
    const auto due = owner != nullptr ? std::min(next->second.due, limit) : limit;
    {
      std::unique_lock lock(mutex_);
      if (arrived_.wait_until(lock, due, [this] { return !events_.empty(); })) return;
    }
    if (owner == nullptr || Clock::now() < next->second.due) return;
    next->second.due = std::max(next->second.due + next->second.period, Clock::now());
    const int id = next->first;
    if (owner == &timers_) {
      timed([&] { shell->onTimer(id); });
    } else {
      form_->form().tick(id);
    }
  }

  // A handler's own time, without what ran nested inside it (a message box's
  // loop, a wait on the line): meanwhile the window is not held.
  template <typename Handler>
  void timed(Handler handler) {
    const auto began = Clock::now();
    const Duration nestedBefore = nested_;
    handler();
    const Duration total = Clock::now() - began;
    longestHandler = std::max(longestHandler, total - (nested_ - nestedBefore));
    nested_ = nestedBefore + total;
  }

  Timers timers_;
  std::deque<int> posted_;
  FormTimers* form_ = nullptr;
  Duration nested_{};
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<std::function<void()>> events_;
};

struct Bench {
  Bench() {
    simulator.start();
    setup.dataDirectory = std::filesystem::temp_directory_path() /
                          ("valvescope-link-loss-" + std::to_string(::getpid()));
    setup.port = simulator.path();
  }
  ~Bench() { std::filesystem::remove_all(setup.dataDirectory); }

  vs::sim::SimulatedController controller;
  vs::sim::PtySimulator simulator{controller, vs::sim::LineOptions{9600, {}}};
  vs::ModbusRtuMaster master;
  vs::SystemClock clock;
  vs::ShellSetup setup;
  TimedDesktop desktop;
};

constexpr const char* kGaveUp =
    "Communication Timeout|Co nnection failed. \nPlease check the cable, communication port and "
    "device ID settings.";
constexpr const char* kLinkLost = "13Information|Communication time-out";
constexpr const char* kNoAnswer = "Notice(B_9600)|Communication Time-out!\n";

void startUpWithoutController() {
  Bench bench;
  bench.controller.faults().setSilent(true);
  Clock::time_point began;
  {
    vs::Shell shell(bench.desktop, bench.master, bench.clock, bench.setup);
    bench.desktop.shell = &shell;
    shell.onCreate();
    began = Clock::now();
    shell.startUp();
  }
  const auto gaveUp = bench.desktop.firstBox.find(kGaveUp);
  std::printf("Start-up with no controller answering (connection probes without retries)\n");
  if (gaveUp == bench.desktop.firstBox.end()) {
    std::printf("  the connection dialog ended without the message\n");
    return;
  }
  std::printf("  until \"Co nnection failed\"           %5.1f s\n",
              secondsOf(gaveUp->second - began));
  std::printf("  longest the window was held        %5.1f ms\n",
              1000 * secondsOf(bench.desktop.longestHandler));

  // The same twenty probes as they would go with three retries each, once
  // the shell (and its link worker) has let go of the port.
  bench.master.close();
  vs::ModbusRtuMaster literal;
  literal.setRetries(3);
  if (literal.open(bench.simulator.path(), 9600, 8, 1, 0) != 0) return;
  const auto literalBegan = Clock::now();
  std::int16_t firmware[2];
  for (int attempt = 0; attempt < 20; ++attempt) literal.readHoldingRegisters(1, 28, firmware, 2);
  std::printf("  the same twenty probes with retries %5.1f s\n",
              secondsOf(Clock::now() - literalBegan));
}

void cablePulledWhilePolling() {
  Bench bench;
  vs::Shell shell(bench.desktop, bench.master, bench.clock, bench.setup);
  bench.desktop.shell = &shell;
  shell.onCreate();
  shell.startUp();
  bench.desktop.runUntil([] { return false; }, std::chrono::seconds(3));
  bench.desktop.longestHandler = {};
  // Mid-poll: the pty thread stops answering whenever this lands.
  const auto pulled = Clock::now();
  std::thread puller([&bench] { bench.controller.faults().setSilent(true); });
  puller.join();
  bench.desktop.runUntil([&bench] { return bench.desktop.firstBox.count(kNoAnswer) != 0; },
                         std::chrono::minutes(3));
  std::printf("Cable pulled while polling (three retries a request)\n");
  const auto lost = bench.desktop.firstBox.find(kLinkLost);
  if (lost != bench.desktop.firstBox.end()) {
    std::printf("  until \"Communication time-out\"      %5.1f s\n",
                secondsOf(lost->second - pulled));
  }
  const auto noAnswer = bench.desktop.firstBox.find(kNoAnswer);
  if (noAnswer != bench.desktop.firstBox.end()) {
    std::printf("  until the reconnect gives up       %5.1f s\n",
                secondsOf(noAnswer->second - pulled));
  }
  std::printf("  longest the window was held        %5.1f ms\n",
              1000 * secondsOf(bench.desktop.longestHandler));
}

}  // namespace

int main() {
  startUpWithoutController();
  cablePulledWhilePolling();
  return 0;
}
