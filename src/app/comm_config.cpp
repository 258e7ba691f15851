#include "app/comm_config.h"

#include <fstream>

namespace vs {
namespace {

bool isBlank(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

CommConfigStatus readCommConfig(const std::filesystem::path& file, std::string& portName) {
  std::ifstream in(file, std::ios::binary);
  if (!in.is_open()) return CommConfigStatus::Missing;
  int c = in.get();
  while (c != std::char_traits<char>::eof() && isBlank(c)) c = in.get();
  std::string word;
  while (c != std::char_traits<char>::eof() && !isBlank(c)) {
    const std::size_t limit = word.starts_with('/') ? kMaxDevicePathLength : kMaxPortNameLength;
    if (word.size() == limit) return CommConfigStatus::Invalid;
    word.push_back(static_cast<char>(c));
    c = in.get();
  }
  portName = std::move(word);
  return CommConfigStatus::Read;
}

bool writeCommConfig(const std::filesystem::path& file, std::string_view portName) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(portName.data(), static_cast<std::streamsize>(portName.size()));
  out.close();
  return !out.fail();
}

}  // namespace vs
