#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "journal/journal_line.h"

namespace vs {

// journal.csv in the data folder.
std::filesystem::path journalPath(const std::filesystem::path& dataDirectory);

// The change journal file: CSV, appended to and never rewritten, with a header
// row at its start. Each append is written and flushed before it returns, so
// a crash loses no line already reported. An append that fails is taken back
// to the lines before it and reported; the next append tries again, so the
// journal resumes by itself once the folder can be written.
class ChangeJournal {
 public:
  explicit ChangeJournal(std::filesystem::path file) : file_(std::move(file)) {}

  const std::filesystem::path& file() const { return file_; }

  // Empty when the lines were written, else why not, fit for a status line:
  // "Change journal not written: /path/journal.csv: No space left on device".
  std::string append(const std::vector<JournalLine>& lines);

 private:
  std::filesystem::path file_;
};

}  // namespace vs
