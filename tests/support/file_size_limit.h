#pragma once

#include <sys/resource.h>

#include <csignal>
#include <cstdint>

namespace vs::test {

// A disk that fills up, for this process alone: a write that would take a file
// past `bytes` writes what fits and then fails (EFBIG), as writes on a full
// disk fail with ENOSPC. Room comes back when the object goes. The signal such
// a write raises is ignored meanwhile, so that the write returns its error.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::uint64_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*previous_)(int) = SIG_DFL;
};

}  // namespace vs::test
