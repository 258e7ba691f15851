#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "forms/desktop.h"

namespace vs {

// What a running form needs of the window that shows it: its own timers,
// messages it posts to itself, message boxes it owns and file choosers. The Qt
// view implements it with QTimer and queued calls; tests tick timers by hand.
class FormHost {
 public:
  virtual ~FormHost() = default;
  virtual void startTimer(int id, int milliseconds) = 0;  // restarts a running timer
  virtual void killTimer(int id) = 0;
  // Delivered later to Form::onMessage, from the event loop.
  virtual void post(int message, std::intptr_t param) = 0;
  virtual int messageBox(const std::string& text, const std::string& caption, Icon icon,
                         Buttons buttons) = 0;
  virtual std::optional<std::string> chooseFile(const FileDialogRequest& request) = 0;
};

// The logic of one dialog: its fields as plain values, its buttons as methods,
// its end result. A view (Qt, or a test script) shows the fields, forwards the
// user's actions and re-reads the fields after each of them.
class Form {
 public:
  explicit Form(int templateId) : templateId_(templateId) {}
  virtual ~Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // The dialog template this form drives (110 connection, 120 pressure, ...).
  int templateId() const { return templateId_; }

  // Called by whoever runs the form, before onInit().
  void attach(FormHost* host) { host_ = host; }

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

 private:
  int templateId_;
  FormHost* host_ = nullptr;
  bool ended_ = false;
  int result_ = 0;
};

}  // namespace vs
