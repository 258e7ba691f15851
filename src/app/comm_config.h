#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace vs {

enum class CommConfigStatus {
  Read,     // the word is the port name (an empty file gives an empty name)
  Missing,  // no file: the port name stays as it was
  Invalid,  // the word is too long: the port name stays as it was
};

// Longest port name comm_config.dat may hold: 15 characters, as always; a
// device path (/dev/serial/by-id/..., which stays the same whichever USB socket
// the adapter is in) may be longer.
inline constexpr std::size_t kMaxPortNameLength = 15;
inline constexpr std::size_t kMaxDevicePathLength = 255;

// Reads the port name: one word, leading white space skipped, up to the next
// white space or the end of the file.
CommConfigStatus readCommConfig(const std::filesystem::path& file, std::string& portName);

// Replaces the file's contents with the port name (no line end).
bool writeCommConfig(const std::filesystem::path& file, std::string_view portName);

}  // namespace vs
