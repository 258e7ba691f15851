#pragma once

#include <set>

#include "forms/desktop.h"

namespace vs {

// The main window's Desktop as the shell and every command's dialog reach it.
// Each call goes through unchanged; on the way it notes which main-window
// timers run, and tells its watcher when one starts or stops and before a
// message box or a dialog takes over, so that the status bar is up to date
// whenever the user is left looking at it.
class WatchedDesktop final : public Desktop {
 public:
  class Watcher {
   public:
    virtual void timerChanged(int id, bool running) = 0;
    virtual void modalLoopStarting() = 0;

   protected:
    ~Watcher() = default;
  };

  WatchedDesktop(Desktop& window, Watcher& watcher) : window_(window), watcher_(watcher) {}

  bool timerRunning(int id) const { return running_.count(id) != 0; }

  void startTimer(int id, int milliseconds) override;
  void killTimer(int id) override;
  void postCommand(int id) override { window_.postCommand(id); }
  int messageBox(const std::string& text, const std::string& caption, Icon icon, Buttons buttons,
                 bool ownedByMainWindow) override;
  int runForm(Form& form) override;
  bool showForm(Form& form) override { return window_.showForm(form); }
  void invalidate(bool erase) override { window_.invalidate(erase); }
  void setTitle(const std::string& title) override { window_.setTitle(title); }
  void setStatusText(int part, const std::string& text) override {
    window_.setStatusText(part, text);
  }
  std::optional<std::string> chooseFile(const FileDialogRequest& request) override {
    return window_.chooseFile(request);
  }
  void postEvent(std::function<void()> event) override { window_.postEvent(std::move(event)); }
  void waitForLine(const std::function<bool()>& done) override { window_.waitForLine(done); }

 private:
  Desktop& window_;
  Watcher& watcher_;
  std::set<int> running_;
};

}  // namespace vs
