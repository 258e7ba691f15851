#include "logging/log_info.h"

#include <gtest/gtest.h>

#include "logging/log_files.h"
#include "support/temp_dir.h"

namespace vs {
namespace {

TEST(LogInfo, FindsGapsStepsBackAndACutOffRecord) {
  test::TempDir dir;
  std::vector<LogRecord> records;
  for (const std::int32_t time : {100, 100, 101, 105, 106, 103, 104}) {
    records.push_back(test::sampleRecord(0, time));
  }
  auto bytes = test::encodeAll(records);
  bytes.resize(bytes.size() + 20, 0);
  test::writeBytes(dir / "gaps.log", bytes);

  const auto info = readLogInfo(dir / "gaps.log");
  ASSERT_TRUE(info.readable);
  EXPECT_EQ(info.recordCount, 7);
  EXPECT_EQ(info.trailingBytes, 20);
  EXPECT_EQ(info.firstTime, 100);
  EXPECT_EQ(info.lastTime, 104);
  ASSERT_EQ(info.gaps.size(), 2u);
  EXPECT_EQ(info.gaps[0].record, 3);
  EXPECT_EQ(info.gaps[0].before, 101);
  EXPECT_EQ(info.gaps[0].after, 105);
  EXPECT_EQ(info.gaps[1].record, 5);
  EXPECT_EQ(info.gaps[1].before, 106);
  EXPECT_EQ(info.gaps[1].after, 103);
}

TEST(LogInfo, EmptyAndMissingFilesAreTold) {
  test::TempDir dir;
  test::writeSampleLog(dir / "short.log", 0, 43);
  const auto empty = readLogInfo(dir / "short.log");
  EXPECT_TRUE(empty.readable);
  EXPECT_EQ(empty.recordCount, 0);
  EXPECT_EQ(empty.trailingBytes, 43);
  EXPECT_TRUE(empty.gaps.empty());

  EXPECT_FALSE(readLogInfo(dir / "missing.log").readable);
}

}  // namespace
}  // namespace vs
