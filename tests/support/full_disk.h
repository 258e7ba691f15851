#pragma once

#include <sys/resource.h>

#include <csignal>

namespace vs::test {

// Every write to a regular file fails from `bytes` on (EFBIG), as on a full
// disk, in this process and in the programs it starts meanwhile, until the
// object goes. The file-size limit needs no privileges and no mount; only its
// soft value is lowered, so it can be raised again.
class FullDisk {
 public:
  explicit FullDisk(rlim_t bytes = 0) {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    // Past the limit the kernel sends SIGXFSZ, which would end the writer.
    sigaction(SIGXFSZ, &ignore, &savedAction_);
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FullDisk() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    sigaction(SIGXFSZ, &savedAction_, nullptr);
  }
  FullDisk(const FullDisk&) = delete;
  FullDisk& operator=(const FullDisk&) = delete;

 private:
  rlimit saved_{};
  struct sigaction savedAction_ {};
};

}  // namespace vs::test
