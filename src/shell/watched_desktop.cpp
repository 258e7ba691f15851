#include "shell/watched_desktop.h"

namespace vs {

void WatchedDesktop::startTimer(int id, int milliseconds) {
  window_.startTimer(id, milliseconds);
  running_.insert(id);
  watcher_.timerChanged(id, true);
}

void WatchedDesktop::killTimer(int id) {
  window_.killTimer(id);
  running_.erase(id);
  watcher_.timerChanged(id, false);
}

int WatchedDesktop::messageBox(const std::string& text, const std::string& caption, Icon icon,
                               Buttons buttons, bool ownedByMainWindow) {
  watcher_.modalLoopStarting();
  return window_.messageBox(text, caption, icon, buttons, ownedByMainWindow);
}

int WatchedDesktop::runForm(Form& form) {
  watcher_.modalLoopStarting();
  return window_.runForm(form);
}

}  // namespace vs
