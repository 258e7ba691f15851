#include "logging/log_file_reader.h"

#include <algorithm>

namespace vs {

LogFileReader::LogFileReader(const std::filesystem::path& path) {
  // Some systems open a folder like a file, with a made-up size.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return;
  file_.open(path, std::ios::binary);
  if (!file_.is_open() || !file_.seekg(0, std::ios::end)) return;
  const std::int64_t size = file_.tellg();
  if (size < 0 || !file_.seekg(0)) return;
  open_ = true;
  recordCount_ = size / static_cast<std::int64_t>(LogRecord::kSize);
  trailingBytes_ = size % static_cast<std::int64_t>(LogRecord::kSize);
}

bool LogFileReader::seek(std::int64_t record) {
  if (!open_ || record < 0 || record > recordCount_) return false;
  file_.clear();
  if (!file_.seekg(record * static_cast<std::int64_t>(LogRecord::kSize))) return false;
  next_ = record;
  return true;
}

std::size_t LogFileReader::read(LogRecord* out, std::size_t count) {
  if (!open_) return 0;
  std::size_t done = 0;
  while (done < count && next_ < recordCount_) {
    const auto want = static_cast<std::size_t>(
        std::min<std::int64_t>({static_cast<std::int64_t>(count - done),
                                static_cast<std::int64_t>(kChunkRecords), recordCount_ - next_}));
    file_.read(reinterpret_cast<char*>(chunk_.data()),
               static_cast<std::streamsize>(want * LogRecord::kSize));
    const auto got = static_cast<std::size_t>(file_.gcount()) / LogRecord::kSize;
    for (std::size_t i = 0; i < got; ++i)
      out[done + i] = LogRecord::decode(&chunk_[i * LogRecord::kSize]);
    done += got;
    next_ += static_cast<std::int64_t>(got);
    if (got < want) break;  // the file shrank under us
  }
  return done;
}

}  // namespace vs
