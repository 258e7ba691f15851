#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace vs {

enum class CommConfigStatus {
  Read,      // the word is the port name (an empty file gives an empty name)
  Missing,   // no file: the port name stays as it was
  Invalid,   // too big, a word too long or with characters no port name has
  Folder,    // a folder by that name
  NotAFile,  // a pipe, a device or a socket, which could block or never end
};

// Longest port name comm_config.dat may hold: 15 characters, as always; a
// device path (/dev/serial/by-id/..., which stays the same whichever USB socket
// the adapter is in) may be longer.
inline constexpr std::size_t kMaxPortNameLength = 15;
inline constexpr std::size_t kMaxDevicePathLength = 255;
// Far more than one word with white space around it; a bigger file is no port
// setting and is not read.
inline constexpr std::uintmax_t kMaxCommConfigSize = 4096;

// Reads the port name: one word, leading white space skipped, up to the next
// white space or the end of the file. Only a regular file is read, and only a
// word of printable ASCII is taken; otherwise the port name stays as it was.
CommConfigStatus readCommConfig(const std::filesystem::path& file, std::string& portName);

// Why the file was not used, to follow its path in a message ("is a folder,
// not a file"); empty for Read and Missing.
std::string_view commConfigProblem(CommConfigStatus status);

// Replaces the file's contents with the port name (no line end). False when it
// could not be written, or when something other than a regular file is there.
bool writeCommConfig(const std::filesystem::path& file, std::string_view portName);

}  // namespace vs
