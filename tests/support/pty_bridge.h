#pragma once

#include <string>
#include <thread>

#include "support/pty_pair.h"

namespace vs::test {

// Two ptys joined back to back by a thread: what one program writes to
// pathA() comes out of pathB() and the other way round, so two programs that
// each open a serial device by name can talk.
class PtyBridge {
 public:
  PtyBridge();
  ~PtyBridge();
  PtyBridge(const PtyBridge&) = delete;
  PtyBridge& operator=(const PtyBridge&) = delete;

  const std::string& pathA() const { return a_.path(); }
  const std::string& pathB() const { return b_.path(); }

 private:
  void run();

  PtyPair a_;
  PtyPair b_;
  int wake_[2] = {-1, -1};
  std::thread thread_;
};

}  // namespace vs::test
