#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "forms/desktop.h"
#include "forms/form.h"

namespace vs::test {

struct ShownBox {
  std::string text;
  std::string caption;
  Icon icon = Icon::None;
  Buttons buttons = Buttons::Ok;
  bool owned = false;  // by the main window (Desktop) or by the dialog (FormHost)
  std::string status;  // the status bar's last part as the box came up (Desktop)
};

// A FormHost whose timers a test ticks by hand and whose posted messages are
// delivered when the test says so.
class ScriptedFormHost : public FormHost {
 public:
  explicit ScriptedFormHost(Form& form) : form_(form) { form.attach(this); }
  ~ScriptedFormHost() override { form_.attach(nullptr); }

  void startTimer(int id, int milliseconds) override { timers[id] = milliseconds; }
  void killTimer(int id) override { timers.erase(id); }
  void post(int message, std::intptr_t param) override { posted.emplace_back(message, param); }
  int messageBox(const std::string& text, const std::string& caption, Icon icon,
                 Buttons buttons) override;
  std::optional<std::string> chooseFile(const FileDialogRequest& request) override;
  void setBusy(bool busy) override { busyChanges.push_back(busy); }

  bool timerRunning(int id) const { return timers.count(id) != 0; }
  // One tick of a running timer, then the messages it posted. Returns false
  // (and does nothing) when the timer is not running.
  bool tick(int id);
  // Delivers posted messages, including those posted while delivering.
  void deliverPosted();

  std::map<int, int> timers;
  std::deque<std::pair<int, std::intptr_t>> posted;
  std::vector<ShownBox> boxes;
  std::deque<int> answers;  // message box answers; when empty: OK, or Yes for Yes/No
  std::vector<FileDialogRequest> fileRequests;
  std::deque<std::optional<std::string>> fileChoices;  // when empty: cancelled
  std::vector<bool> busyChanges;                       // what setBusy was told, in order

 private:
  Form& form_;
};

// A Desktop that records every call and answers from a script. Posted commands
// go to `dispatch`; like a nested event loop, message boxes and modal forms run
// the queued commands before they return (unless pumpInModalLoops is false).
// Events posted by the link worker (from its thread) wait in a queue of their
// own: waitForLine delivers them until its condition holds, and runPosted
// delivers them too, waiting for the line's answer while `lineBusy` says one
// is due, so a test never sleeps on the hope that it has come.
class ScriptedDesktop : public Desktop {
 public:
  using FormScript = std::function<void(Form&, ScriptedFormHost&)>;

  void startTimer(int id, int milliseconds) override;
  void killTimer(int id) override;
  void postCommand(int id) override;
  int messageBox(const std::string& text, const std::string& caption, Icon icon, Buttons buttons,
                 bool ownedByMainWindow) override;
  int runForm(Form& form) override;
  // Shows the form as its window would, until its Close; a test ticks and
  // closes it through its host.
  bool showForm(Form& form) override;
  void invalidate(bool erase) override;
  void setTitle(const std::string& text) override;
  void setStatusText(int part, const std::string& text) override;
  std::optional<std::string> chooseFile(const FileDialogRequest& request) override;
  void postEvent(std::function<void()> event) override;
  void waitForLine(const std::function<bool()>& done) override;

  // Runs queued commands through `dispatch`, and the line's events, until
  // neither is left and the line is idle.
  void runPosted();
  // Runs a handler as the window's event loop would, timing it (see longestHold).
  void timed(const std::function<void()>& handler);
  // The line's events only, until the line is idle: a tick's or a command's
  // requests have been answered, and nothing it posted has run yet.
  void runLineEvents();
  bool timerRunning(int id) const { return timers.count(id) != 0; }
  // The form script for a template id; a form without a script is closed with
  // its close box right after its initialisation.
  void onForm(int templateId, FormScript script) { formScripts[templateId] = std::move(script); }

  std::function<void(int)> dispatch;
  std::function<bool()> lineBusy;  // a job is out on the link worker
  bool pumpInModalLoops = true;
  // Called once each time the window starts waiting on the line, before the
  // first event is delivered: what the user does while the line is busy.
  std::function<void()> whileWaiting;

  std::vector<std::string> calls;  // one line per call, e.g. "killTimer 5001"
  std::map<int, int> timers;
  std::deque<int> posted;
  std::vector<ShownBox> boxes;
  std::deque<int> answers;  // message box answers; when empty: OK, or Yes for Yes/No
  std::map<int, FormScript> formScripts;
  std::set<int> failingForms;  // template ids whose forms cannot be created
  std::vector<int> formsRun;   // template ids, in order
  // The forms shown beside the main window, each with its window's host;
  // cleared before the forms go.
  std::map<Form*, std::unique_ptr<ScriptedFormHost>> besideForms;
  std::string title;
  std::map<int, std::string> statusTexts;
  int invalidations = 0;
  std::vector<FileDialogRequest> fileRequests;
  std::deque<std::optional<std::string>> fileChoices;  // when empty: cancelled
  int waits = 0;                                       // calls of waitForLine
  // The longest the window's thread was held by one handler it ran (a
  // posted command, an event of the line, or one run through timed()),
  // without what ran nested in it: a wait on the line and a modal form run
  // their own loop, and a message box's handlers are timed on their own.
  std::chrono::steady_clock::duration longestHold{};

 private:
  int runScriptedForm(Form& form);
  // Runs the next event of the line; waits for one when `block` is set.
  bool runEvent(bool block);

  std::chrono::steady_clock::duration nested_{};
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<std::function<void()>> events_;
};

}  // namespace vs::test
