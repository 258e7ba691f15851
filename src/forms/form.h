#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "forms/desktop.h"
#include "forms/link_worker.h"

namespace vs {

// What a running form needs of the window that shows it: its own timers,
// messages it posts to itself, message boxes it owns and file choosers. The Qt
// view implements it with QTimer and queued calls; tests tick timers by hand.
class FormHost {
 public:
  virtual ~FormHost() = default;
  virtual void startTimer(int id, int milliseconds) = 0;  // restarts a running timer
  virtual void killTimer(int id) = 0;
  // Delivered later to Form::deliver, from the event loop.
  virtual void post(int message, std::intptr_t param) = 0;
  virtual int messageBox(const std::string& text, const std::string& caption, Icon icon,
                         Buttons buttons) = 0;
  virtual std::optional<std::string> chooseFile(const FileDialogRequest& request) = 0;
  // The form waits on the serial line (true) or is done waiting: the view
  // shows it, keeping only Close (or Cancel) usable, and shows the form's
  // fields again either way.
  virtual void setBusy(bool /*busy*/) {}
};

// The logic of one dialog: its fields as plain values, its buttons as methods,
// its end result. A view (Qt, or a test script) shows the fields, forwards the
// user's actions and re-reads the fields after each of them.
//
// A form that talks to the controller is made with the link worker. While the
// window waits on the serial line such a form is busy: whoever runs it
// delivers everything through init(), act(), tick(), deliver() and closeBox(),
// which keep a user action from starting a second sequence on the line, hold
// timer ticks and posted messages until the line is free (the ticks of one
// timer as one, as a window system merges them), and turn Close into a request
// to stop after the exchange in hand.
class Form : private LinkWorker::Listener {
 public:
  explicit Form(int templateId) : templateId_(templateId) {}
  Form(int templateId, LinkWorker& line);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // The dialog template this form drives (110 connection, 120 pressure, ...).
  int templateId() const { return templateId_; }

  // Called by whoever runs the form, before init().
  void attach(FormHost* host) { host_ = host; }

  void init();
  // A form shown beside the main window (Desktop::showForm) ends when its
  // window closes, and may be shown again: it begins anew, before init().
  void restart() {
    ended_ = false;
    result_ = 0;
    heldActions_.clear();  // the last showing's, bound to its window
  }
  // A user action. While an action of the user's own waits on the line, a
  // second does nothing (a double click); while a timer's or a message's
  // exchange is out, it runs once the line is free, since nothing on screen
  // said the form was busy.
  void act(const std::function<void()>& action);
  void tick(int timerId);
  void deliver(int message, std::intptr_t param);
  // Close, Cancel, Escape and the close box. While the form waits on the line
  // the exchange in hand finishes, nothing more is sent, the user is told
  // when that left a change part-written, and then the form closes.
  void closeBox();
  bool busy() const { return line_ != nullptr && line_->waiting(); }

  virtual void onInit() {}
  virtual void onTimer(int /*id*/) {}
  virtual void onMessage(int /*message*/, std::intptr_t /*param*/) {}
  // The dialog's own close box; most dialogs treat it as their Cancel/Close.
  virtual void onClose() { end(2); }

  bool isEnded() const { return ended_; }
  int result() const { return result_; }

 protected:
  void end(int result) {
    ended_ = true;
    result_ = result;
  }
  FormHost& host() { return *host_; }
  void startTimer(int id, int milliseconds);
  void killTimer(int id);
  // What closing part-way through a sequence of writes left in the
  // controller: `sent` of `sent + notSent` writes went out.
  virtual std::string partWrittenNote(int sent, int notSent) const;

 private:
  // Messages a busy form holds back and posts to itself again, so that they
  // keep their place behind messages posted meanwhile.
  static constexpr int kHeldTick = -1;  // param: the timer id
  static constexpr int kHeldClose = -2;
  static constexpr int kHeldActions = -3;

  void lineWaiting(bool waiting) override;
  void lineIdle() override;
  void enter(const std::function<void()>& handler);
  void closeAfterStop();

  int templateId_;
  FormHost* host_ = nullptr;
  LinkWorker* line_ = nullptr;
  bool ended_ = false;
  int result_ = 0;
  std::set<int> timers_;  // running
  int depth_ = 0;         // handlers in progress, nested ones included
  int actionDepth_ = 0;   // the user's actions among them
  bool shownBusy_ = false;
  bool closeRequested_ = false;
  std::set<int> heldTicks_;
  std::deque<std::pair<int, std::intptr_t>> heldMessages_;
  std::vector<std::function<void()>> heldActions_;
};

}  // namespace vs
