#pragma once

// What a program costs as the machine sees it, read from /proc, and how much
// it has logged: for the benchmarks that run the valvescope programs whole.

#include <sys/types.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace vs::bench {

// User plus system time of the process (all its threads), in seconds; 0 for
// a process that is gone.
inline double cpuSeconds(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  const std::string text((std::istreambuf_iterator<char>(stat)), {});
  if (text.empty()) return 0;
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  long ticks = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i >= 14) ticks += std::stol(field);
  }
  return static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// The bytes of the hourly log files in a data folder.
inline std::uintmax_t logBytes(const std::filesystem::path& folder) {
  std::error_code error;
  std::uintmax_t bytes = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (entry.path().extension() == ".log") bytes += entry.file_size(error);
  }
  return bytes;
}

}  // namespace vs::bench
