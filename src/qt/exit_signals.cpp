#include "qt/exit_signals.h"

#include <QSocketNotifier>

#if !defined(_WIN32)
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#endif

namespace vs {

#if !defined(_WIN32)
namespace {

constexpr int kExitSignals[] = {SIGTERM, SIGINT, SIGHUP};
int wakeUp[2] = {-1, -1};  // the handler writes, the window's thread reads

void onExitSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const auto written = ::write(wakeUp[1], &byte, 1);
  errno = saved;
}

}  // namespace

ExitSignals::ExitSignals(std::function<void()> quit) : quit_(std::move(quit)) {
  if (::pipe2(wakeUp, O_CLOEXEC | O_NONBLOCK) != 0) return;
  notifier_ = new QSocketNotifier(wakeUp[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] {
    char bytes[16];
    while (::read(wakeUp[0], bytes, sizeof bytes) > 0) {
    }
    quit_();
  });
  struct sigaction action {};
  action.sa_handler = onExitSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  for (const int number : kExitSignals) sigaction(number, &action, nullptr);
}

ExitSignals::~ExitSignals() {
  if (notifier_ == nullptr) return;
  for (const int number : kExitSignals) std::signal(number, SIG_DFL);
  delete notifier_;
  for (int& end : wakeUp) {
    ::close(end);
    end = -1;
  }
}
#else
// The Windows build has no such signals; its console events are another matter.
ExitSignals::ExitSignals(std::function<void()> quit) : quit_(std::move(quit)) {}
ExitSignals::~ExitSignals() = default;
#endif

}  // namespace vs
