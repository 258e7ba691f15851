#include "journal/change_journal.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "journal/journal_reader.h"
#if !defined(_WIN32)
#include "support/file_size_limit.h"
#endif
#include "support/temp_dir.h"

namespace vs {
namespace {

using ::testing::StartsWith;
using Lines = std::vector<JournalLine>;

JournalLine line(std::string time, std::string serialNumber, std::string action) {
  JournalLine l;
  l.time = std::move(time);
  l.port = "COM3";
  l.deviceId = "1";
  l.serialNumber = std::move(serialNumber);
  l.firmware = "4.62";
  l.action = std::move(action);
  l.reg = "150";
  l.name = "sp_min";
  l.before = "-2000";
  l.written = "1234";
  l.outcome = "ok";
  return l;
}

std::string readAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(ChangeJournal, LinesWithCommasQuotesAndLineBreaksReadBackAsWrittenNewestFirst) {
  test::TempDir dir;
  // The data folder is made when the first line comes.
  ChangeJournal journal(journalPath(dir / "data"));
  JournalLine tricky = line("2026-05-01 09:00:00", "1234", "Settings \"A\", then B");
  tricky.port = "COM3,\r\nsecond";
  tricky.name = "\"";
  tricky.file = "C:\\unit, old.dat";
  const JournalLine other = line("2026-05-02 10:30:00", "777", "valvescope-cli write");
  const JournalLine latest = line("2026-05-03 08:00:00", "1234", "Download Settings");
  ASSERT_EQ(journal.append({tricky, other}), "");
  ASSERT_EQ(journal.append({latest}), "");

  const std::string text = readAll(journal.file());
  EXPECT_THAT(text, StartsWith("Local Time,Port,Device ID,Serial Number,Firmware,Action,Register,"
                               "Name,Before,Written,Outcome,File\r\n2026-05-01 09:00:00,"
                               "\"COM3,\r\nsecond\",1,1234,4.62,\"Settings \"\"A\"\", then B\",150,"
                               "\"\"\"\",-2000,1234,ok,\"C:\\unit, old.dat\"\r\n"));
  EXPECT_EQ(text.find("Local Time", 1), std::string::npos);  // one header row

  const JournalReading all = readJournal(journal.file());
  ASSERT_TRUE(all.ok) << all.error;
  EXPECT_EQ(all.lines, (Lines{latest, other, tricky}));
  EXPECT_EQ(readJournal(journal.file(), {"1234", std::nullopt}).lines, (Lines{latest, tricky}));
  EXPECT_EQ(readJournal(journal.file(), {std::nullopt, journalTime("2026-05-02")}).lines,
            (Lines{latest, other}));
  EXPECT_EQ(readJournal(journal.file(), {"1234", journalTime("2026-05-01 09:00:01")}).lines,
            (Lines{latest}));
  for (const char* since : {"2026-5-1", "2026-05-01T09:00", "2026-05-32", "2026-05-01 24:00",
                            "2026-05-01 09:00:", "yesterday", ""}) {
    EXPECT_FALSE(journalTime(since)) << since;
  }

  // A record that is no journal line (a hand edit) is counted and left out.
  std::ofstream(journal.file(), std::ios::app | std::ios::binary) << "not,a,journal line\r\n";
  const JournalReading edited = readJournal(journal.file());
  EXPECT_EQ(edited.lines.size(), 3u);
  EXPECT_EQ(edited.unreadable, 1u);

  const JournalReading none = readJournal(dir / "missing.csv");
  EXPECT_TRUE(none.ok);
  EXPECT_TRUE(none.lines.empty());
}

TEST(ChangeJournal, AnAppendThatFailsIsTakenBackAndSaidAndTheNextOneWritesAgain) {
  test::TempDir dir;
  ChangeJournal journal(dir / "journal.csv");
  const JournalLine first = line("2026-05-01 09:00:00", "1", "A");
  const JournalLine lost = line("2026-05-01 09:00:01", "1", "B");
  const JournalLine next = line("2026-05-01 09:00:02", "1", "C");
  ASSERT_EQ(journal.append({first}), "");
#if !defined(_WIN32)  // a full disk is made with the POSIX file-size limit
  const auto whole = std::filesystem::file_size(journal.file());
  {
    const test::FileSizeLimit full(whole + 20);  // room for a part of the line only
    EXPECT_THAT(journal.append({lost}),
                StartsWith("Change journal not written: " + journal.file().string() + ": "));
    EXPECT_EQ(std::filesystem::file_size(journal.file()), whole);
  }
#endif
  EXPECT_EQ(journal.append({next}), "");
  const JournalReading reading = readJournal(journal.file());
  EXPECT_EQ(reading.lines, (Lines{next, first}));
  EXPECT_EQ(reading.unreadable, 0u);

  // Where the file cannot be: its name is a folder's (root cannot write there either).
  std::filesystem::create_directory(dir / "taken.csv");
  EXPECT_THAT(ChangeJournal(dir / "taken.csv").append({first}),
              StartsWith("Change journal not written: " + (dir / "taken.csv").string() + ": "));
  EXPECT_FALSE(readJournal(dir / "taken.csv").ok);
}

}  // namespace
}  // namespace vs
