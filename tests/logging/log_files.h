#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "logging/log_record.h"

namespace vs::test {

// Record i of a generated log: time stamps a second apart from `start`, every
// value different and some negative, so misplaced or mis-signed fields show.
inline LogRecord sampleRecord(std::int32_t i, std::int32_t start = 1'700'000'000) {
  LogRecord record;
  record.timeStamp = start + i;
  for (int v = 0; v < LIVE_VALUE_COUNT; ++v) record.values[v] = (i * 37 + v * 1001) % 4000 - 1500;
  return record;
}

inline std::vector<unsigned char> encodeAll(const std::vector<LogRecord>& records) {
  std::vector<unsigned char> bytes;
  for (const auto& record : records) {
    const auto encoded = record.encode();
    bytes.insert(bytes.end(), encoded.begin(), encoded.end());
  }
  return bytes;
}

inline void writeBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// A log file of `count` sample records, plus `extraBytes` of a cut-off record.
inline std::vector<LogRecord> writeSampleLog(const std::filesystem::path& path, int count,
                                             int extraBytes = 0) {
  std::vector<LogRecord> records;
  for (int i = 0; i < count; ++i) records.push_back(sampleRecord(i));
  auto bytes = encodeAll(records);
  bytes.insert(bytes.end(), static_cast<std::size_t>(extraBytes), 0x5A);
  writeBytes(path, bytes);
  return records;
}

inline std::vector<unsigned char> readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace vs::test
