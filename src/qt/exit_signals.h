#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace vs {

// SIGTERM (kill, a desktop logout), SIGINT (Ctrl-C in the terminal that started
// the program) and SIGHUP (that terminal closed) end the program as Exit does,
// so that the controller still hears "OUT". The handler only writes a byte to a
// pipe; the window's thread reads it in its event loop, a dialog's or a message
// box's included, and calls `quit` there. A second such signal ends the program
// at once, should the first way out be stuck.
class ExitSignals : public QObject {
 public:
  explicit ExitSignals(std::function<void()> quit);
  ~ExitSignals() override;
  ExitSignals(const ExitSignals&) = delete;
  ExitSignals& operator=(const ExitSignals&) = delete;

 private:
  std::function<void()> quit_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace vs
