#include "logging/log_writer.h"

#include <gtest/gtest.h>

#include "logging/log_files.h"
#if !defined(_WIN32)
#include "support/file_size_limit.h"
#endif
#include "support/temp_dir.h"

namespace vs {
namespace {

using test::readBytes;
using test::sampleRecord;

constexpr LocalDateTime kNineAm{2026, 12, 6, 9, 0, 0, 0};

LocalDateTime at(int day, int hour, int minute, int second, int millisecond) {
  return {2026, 12, day, hour, minute, second, millisecond};
}

std::vector<LogRecord> recordsIn(const std::filesystem::path& path) {
  const auto bytes = readBytes(path);
  std::vector<LogRecord> records;
  for (std::size_t at = 0; at + LogRecord::kSize <= bytes.size(); at += LogRecord::kSize) {
    records.push_back(LogRecord::decode(&bytes[at]));
  }
  return records;
}

TEST(LogWriterClock, FirstTickAndEveryNewHourAskForAFile) {
  LogWriter writer("unused", at(6, 9, 58, 0, 0));
  EXPECT_TRUE(writer.logOpenPending());
  EXPECT_TRUE(writer.onClockTick(at(6, 9, 58, 0, 200)));
  EXPECT_FALSE(writer.logOpenPending());
  EXPECT_FALSE(writer.onClockTick(at(6, 9, 58, 0, 400)));
  EXPECT_FALSE(writer.onClockTick(at(6, 9, 59, 59, 800)));
  EXPECT_TRUE(writer.onClockTick(at(6, 10, 0, 0, 0)));
  EXPECT_FALSE(writer.onClockTick(at(6, 10, 0, 0, 200)));
  // A poll that blocked for two minutes: the late tick repeats the second and
  // the millisecond of the one before, yet the hour has changed.
  writer.onClockTick(at(6, 10, 58, 30, 400));
  EXPECT_TRUE(writer.onClockTick(at(6, 11, 0, 30, 400)));
  EXPECT_TRUE(writer.onClockTick(at(7, 11, 0, 30, 400)));  // same hour, next day
}

TEST(LogWriterFiles, MidnightGoesToTheNextDaysHourZero) {
  test::TempDir dir;
  LogWriter writer(dir.path(), at(6, 23, 59, 0, 0));
  ASSERT_TRUE(writer.onClockTick(at(6, 23, 59, 59, 800)));
  ASSERT_TRUE(writer.openForHour(at(6, 23, 59, 59, 800)));
  writer.write(sampleRecord(0));
  ASSERT_TRUE(writer.onClockTick(at(7, 0, 0, 0, 0)));
  ASSERT_TRUE(writer.openForHour(at(7, 0, 0, 0, 0)));
  writer.write(sampleRecord(1));

  EXPECT_EQ(writer.filePath(), dir / "log_2026_12_7_0.log");
  EXPECT_EQ(recordsIn(dir / "log_2026_12_6_23.log"), std::vector{sampleRecord(0)});
  EXPECT_EQ(recordsIn(dir / "log_2026_12_7_0.log"), std::vector{sampleRecord(1)});
}

TEST(LogWriterFiles, EachRecordIsOnDiskAsSoonAsItIsWritten) {
  test::TempDir dir;
  LogWriter writer(dir.path(), kNineAm);
  ASSERT_TRUE(writer.openForHour(kNineAm));
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(writer.write(sampleRecord(i)));
    EXPECT_EQ(readBytes(dir / "log_2026_12_6_9.log").size(), (i + 1) * LogRecord::kSize);
  }
  const auto bytes = readBytes(dir / "log_2026_12_6_9.log");
  const auto last = sampleRecord(2).encode();
  EXPECT_TRUE(std::equal(last.begin(), last.end(), bytes.end() - LogRecord::kSize));
}

TEST(LogWriterFiles, TwoConnectionsInOneHourAppendToTheSameFile) {
  test::TempDir dir;
  LogWriter writer(dir.path(), kNineAm);
  writer.openForHour(at(6, 9, 10, 0, 0));
  writer.write(sampleRecord(0));
  writer.write(sampleRecord(1));
  writer.close();
  EXPECT_FALSE(writer.write(sampleRecord(99)));  // nothing after Disconnect
  writer.openForHour(at(6, 9, 40, 0, 0));
  writer.write(sampleRecord(2));
  writer.close();

  EXPECT_EQ(recordsIn(dir / "log_2026_12_6_9.log"),
            (std::vector{sampleRecord(0), sampleRecord(1), sampleRecord(2)}));
}

TEST(LogWriterFiles, DisableSuspendsWritingUntilEnable) {
  test::TempDir dir;
  LogWriter writer(dir.path(), kNineAm);
  writer.openForHour(kNineAm);
  writer.write(sampleRecord(0));
  writer.setEnabled(false);
  EXPECT_FALSE(writer.write(sampleRecord(1)));
  EXPECT_TRUE(writer.isOpen());
  writer.setEnabled(true);
  EXPECT_TRUE(writer.write(sampleRecord(2)));
  EXPECT_EQ(recordsIn(dir / "log_2026_12_6_9.log"),
            (std::vector{sampleRecord(0), sampleRecord(2)}));
}

TEST(LogWriterFiles, FailedOpenWritesNothingAndIsReported) {
  test::TempDir dir;
  // A folder where the file should be: no file can be opened by that name.
  std::filesystem::create_directory(dir / "log_2026_12_6_9.log");
  LogWriter writer(dir.path(), kNineAm);
  EXPECT_FALSE(writer.openForHour(kNineAm));
  EXPECT_TRUE(writer.failed());
  EXPECT_FALSE(writer.isOpen());
  EXPECT_FALSE(writer.write(sampleRecord(0)));

  EXPECT_TRUE(writer.openForHour(at(6, 10, 0, 0, 0)));
  EXPECT_FALSE(writer.failed());
  EXPECT_TRUE(writer.write(sampleRecord(1)));
  EXPECT_EQ(recordsIn(dir / "log_2026_12_6_10.log"), std::vector{sampleRecord(1)});
}

TEST(LogWriterFiles, CreatesAMissingFolderAndDropsACutOffRecord) {
  test::TempDir dir;
  const auto folder = dir / "gone";
  LogWriter writer(folder, kNineAm);
  ASSERT_TRUE(writer.openForHour(kNineAm));
  writer.write(sampleRecord(0));
  writer.close();

  // A crash in the middle of a record: the next records must still line up.
  auto bytes = readBytes(folder / "log_2026_12_6_9.log");
  bytes.resize(LogRecord::kSize + 17, 0x33);
  test::writeBytes(folder / "log_2026_12_6_9.log", bytes);
  ASSERT_TRUE(writer.openForHour(kNineAm));
  writer.write(sampleRecord(1));
  EXPECT_EQ(recordsIn(folder / "log_2026_12_6_9.log"),
            (std::vector{sampleRecord(0), sampleRecord(1)}));
  EXPECT_EQ(readBytes(folder / "log_2026_12_6_9.log").size(), 2 * LogRecord::kSize);
}

#if !defined(_WIN32)  // a full disk is made with the POSIX file-size limit
// The disk fills up in the middle of a record: what got out of it is cut off
// at once, and each later record tries again, so that logging resumes by
// itself once there is room, with every record in its place.
TEST(LogWriterFiles, AFullDiskLeavesWholeRecordsAndLoggingResumesWhenThereIsRoom) {
  test::TempDir dir;
  const auto file = dir / "log_2026_12_6_9.log";
  LogWriter writer(dir.path(), kNineAm);
  ASSERT_TRUE(writer.openForHour(kNineAm));
  ASSERT_TRUE(writer.write(sampleRecord(0)));
  {
    test::FileSizeLimit fullDisk(2 * LogRecord::kSize + 20);
    EXPECT_TRUE(writer.write(sampleRecord(1)));
    EXPECT_FALSE(writer.write(sampleRecord(2)));
    EXPECT_EQ(writer.error(), std::errc::file_too_large);
    EXPECT_EQ(readBytes(file).size(), 2 * LogRecord::kSize);
    EXPECT_FALSE(writer.write(sampleRecord(3)));
    EXPECT_EQ(readBytes(file).size(), 2 * LogRecord::kSize);
  }
  EXPECT_TRUE(writer.write(sampleRecord(4)));
  EXPECT_FALSE(writer.failed());
  EXPECT_EQ(recordsIn(file), (std::vector{sampleRecord(0), sampleRecord(1), sampleRecord(4)}));
  EXPECT_EQ(readBytes(file).size(), 3 * LogRecord::kSize);
}
#endif

}  // namespace
}  // namespace vs
