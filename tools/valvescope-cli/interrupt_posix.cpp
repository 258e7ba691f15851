#include <csignal>

#include "interrupt.h"

namespace vs::cli {
namespace {

volatile std::sig_atomic_t requested = 0;

void request(int) { requested = 1; }

}  // namespace

void stopOnInterrupt() {
  struct sigaction action {};
  action.sa_handler = request;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool stopRequested() { return requested != 0; }

}  // namespace vs::cli
