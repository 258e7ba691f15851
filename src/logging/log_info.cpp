#include "logging/log_info.h"

#include <array>

#include "logging/log_file_reader.h"

namespace vs {

LogInfo readLogInfo(const std::filesystem::path& log) {
  LogInfo info;
  LogFileReader reader(log);
  if (!reader.isOpen()) return info;
  info.recordCount = reader.recordCount();
  info.trailingBytes = reader.trailingBytes();

  std::array<LogRecord, 256> batch;
  std::int64_t index = 0;
  while (index < info.recordCount) {
    const std::size_t count = reader.read(batch.data(), batch.size());
    if (count == 0) return info;
    for (std::size_t i = 0; i < count; ++i, ++index) {
      const std::int32_t time = batch[i].timeStamp;
      if (index == 0) {
        info.firstTime = time;
      } else {
        const std::int64_t step = std::int64_t{time} - info.lastTime;
        if (step > 1 || step < 0) info.gaps.push_back({index, info.lastTime, time});
      }
      info.lastTime = time;
    }
  }
  info.readable = true;
  return info;
}

}  // namespace vs
