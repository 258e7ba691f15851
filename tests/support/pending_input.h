#pragma once

#include <chrono>
#include <string>

namespace vs::test {

// A descriptor of our own on a serial device, opened before the code under
// test takes it: it tells how many received bytes wait in the driver without
// taking any of them.
class PendingInput {
 public:
  explicit PendingInput(const std::string& path);
  ~PendingInput();
  PendingInput(const PendingInput&) = delete;
  PendingInput& operator=(const PendingInput&) = delete;

  int count() const;
  // True once at least `bytes` wait; false after `limit`.
  bool waitFor(int bytes, std::chrono::milliseconds limit = std::chrono::seconds(10)) const;

 private:
  int fd_ = -1;
};

}  // namespace vs::test
