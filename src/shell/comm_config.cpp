#include "shell/comm_config.h"

#include <fstream>
#include <system_error>

namespace vs {
namespace {

bool isBlank(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
// Port names and device paths are plain ASCII; anything else (an escape
// sequence among them) would only be echoed to a terminal or the status bar.
bool isPortCharacter(int c) { return c > ' ' && c < 0x7f; }

// Opening a pipe for reading waits for a writer, and a device may never end:
// only a regular file, or nothing at all, may be opened.
CommConfigStatus kindOf(const std::filesystem::path& file) {
  std::error_code error;
  const auto status = std::filesystem::status(file, error);
  // A file that cannot even be looked at cannot be opened either.
  if (status.type() == std::filesystem::file_type::not_found ||
      status.type() == std::filesystem::file_type::none) {
    return CommConfigStatus::Missing;
  }
  if (status.type() == std::filesystem::file_type::directory) return CommConfigStatus::Folder;
  if (status.type() != std::filesystem::file_type::regular) return CommConfigStatus::NotAFile;
  const auto size = std::filesystem::file_size(file, error);
  if (error || size > kMaxCommConfigSize) return CommConfigStatus::Invalid;
  return CommConfigStatus::Read;
}

}  // namespace

CommConfigStatus readCommConfig(const std::filesystem::path& file, std::string& portName) {
  if (const CommConfigStatus kind = kindOf(file); kind != CommConfigStatus::Read) return kind;
  std::ifstream in(file, std::ios::binary);
  if (!in.is_open()) return CommConfigStatus::Missing;
  int c = in.get();
  while (c != std::char_traits<char>::eof() && isBlank(c)) c = in.get();
  std::string word;
  while (c != std::char_traits<char>::eof() && !isBlank(c)) {
    const std::size_t limit = word.starts_with('/') ? kMaxDevicePathLength : kMaxPortNameLength;
    if (word.size() == limit || !isPortCharacter(c)) return CommConfigStatus::Invalid;
    word.push_back(static_cast<char>(c));
    c = in.get();
  }
  portName = std::move(word);
  return CommConfigStatus::Read;
}

std::string_view commConfigProblem(CommConfigStatus status) {
  switch (status) {
    case CommConfigStatus::Read:
    case CommConfigStatus::Missing: return {};
    case CommConfigStatus::Invalid: return "does not hold a port name";
    case CommConfigStatus::Folder: return "is a folder, not a file";
    case CommConfigStatus::NotAFile: return "is not a regular file";
  }
  return {};
}

bool writeCommConfig(const std::filesystem::path& file, std::string_view portName) {
  const CommConfigStatus kind = kindOf(file);
  if (kind == CommConfigStatus::Folder || kind == CommConfigStatus::NotAFile) return false;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(portName.data(), static_cast<std::streamsize>(portName.size()));
  out.close();
  return !out.fail();
}

}  // namespace vs
