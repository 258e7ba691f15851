#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace vs::test {

// A pseudo-terminal in raw mode: tests open path() with the code under test and
// play the other end through the master descriptor.
class PtyPair {
 public:
  PtyPair();
  ~PtyPair();
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  const std::string& path() const { return path_; }
  int masterFd() const { return master_; }

  void write(const std::vector<std::uint8_t>& bytes);
  // Reads until `count` bytes arrived or the time-out passed; returns what came.
  std::vector<std::uint8_t> read(std::size_t count, std::chrono::milliseconds timeout);
  // Everything that arrives until the line has been quiet for `quiet`.
  std::vector<std::uint8_t> drain(std::chrono::milliseconds quiet);
  // Closes the master end: the slave side then sees a hang-up.
  void closeMaster();

 private:
  int master_ = -1;
  int slaveKeepAlive_ = -1;  // keeps the slave side from hanging up between opens
  std::string path_;
};

}  // namespace vs::test
