#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "logging/log_record.h"

namespace vs {

// Reads the records of a log file in file order. A trailing partial record is
// not counted and never read.
class LogFileReader {
 public:
  explicit LogFileReader(const std::filesystem::path& path);

  bool isOpen() const { return open_; }
  std::int64_t recordCount() const { return recordCount_; }
  // Bytes after the last whole record: a record cut short.
  std::int64_t trailingBytes() const { return trailingBytes_; }

  // The next read starts at this record; false when it lies past the end.
  bool seek(std::int64_t record);
  // Reads up to `count` records into `out`; returns how many were read.
  std::size_t read(LogRecord* out, std::size_t count);

 private:
  static constexpr std::size_t kChunkRecords = 512;

  std::ifstream file_;
  bool open_ = false;
  std::int64_t recordCount_ = 0;
  std::int64_t trailingBytes_ = 0;
  std::int64_t next_ = 0;
  std::array<unsigned char, kChunkRecords * LogRecord::kSize> chunk_;
};

}  // namespace vs
