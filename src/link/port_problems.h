#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "link/serial_devices.h"

namespace vs {

// Why a port would not open, in one sentence a technician can act on, given
// the master's result (MODBUS_PORT_OPEN_FAILED or MODBUS_PORT_IN_USE): a port
// that is missing names the ports there are; one held by another program names
// it where the system can tell; on Linux a port the user may not open names
// the group that may and how to join it.
std::string explainOpenFailure(const std::string& port, int masterResult);

// The sentence for a port that is not there, naming the ports that are.
std::string missingPortSentence(const std::string& port, const std::vector<SerialDevice>& present);

// The latency timer of the USB adapter behind `port`, where the system tells.
std::optional<int> adapterLatencyTimer(const std::string& port);

// How to make a USB adapter pass received bytes on sooner than its latency
// timer of `timerMs` does, in one sentence.
std::string lowerLatencyAdvice(const std::string& port, int timerMs);

#if !defined(_WIN32)
// Who asks, and the system that is asked: its /dev, /sys, /proc and /etc lie
// under `root`. Tests describe a made-up system in a temporary folder.
struct PortHost {
  std::filesystem::path root = "/";
  std::uint32_t uid = 0;
  std::vector<std::uint32_t> groups;  // this process's groups, its own included
  std::string user;

  static PortHost current();
};

std::string explainOpenFailure(const std::string& port, int masterResult, const PortHost& host);

// Empty when the port exists, its owner and mode let this user open it and no
// program is seen holding it; otherwise the sentence saying why not. Opens
// nothing: opening raises DTR, which resets some devices.
std::string portAccessProblem(const std::string& port, const PortHost& host);
#endif

}  // namespace vs
