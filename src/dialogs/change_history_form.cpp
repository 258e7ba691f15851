#include "dialogs/change_history_form.h"

#include <algorithm>
#include <charconv>
#include <system_error>

#include "journal/journal_reader.h"
#include "journal/settings_backup.h"

namespace vs {
namespace {

// Serial numbers in numeric order (they may be negative, as the register is
// signed), anything else after them as text.
bool serialBefore(const std::string& a, const std::string& b) {
  int x = 0;
  int y = 0;
  const bool aNumber = std::from_chars(a.data(), a.data() + a.size(), x).ec == std::errc();
  const bool bNumber = std::from_chars(b.data(), b.data() + b.size(), y).ec == std::errc();
  if (aNumber != bNumber) return aNumber;
  return aNumber ? x < y : a < b;
}

bool isBackup(const JournalLine& line) {
  return line.action == kBackupAction && line.outcome == "ok" && !line.file.empty();
}

}  // namespace

const std::vector<std::string>& ChangeHistoryForm::columns() { return journalHeader(); }

std::vector<std::string> ChangeHistoryForm::cells(const JournalLine& line) {
  std::vector<std::string> fields = journalFields(line);
  fields.back() = std::filesystem::path(line.file).filename().string();
  return fields;
}

void ChangeHistoryForm::reload() {
  const std::string chosen = serialNumbers_[serialChoice_];
  JournalReading reading = readJournal(journalFile_);
  all_ = std::move(reading.lines);
  readProblem_.clear();
  if (!reading.ok) {
    readProblem_ = "The change journal cannot be read: " + reading.error;
  } else if (reading.unreadable > 0) {
    readProblem_ = std::to_string(reading.unreadable) +
                   " records of the change journal are not journal lines and are left out.";
  }

  std::vector<std::string> serials;
  for (const JournalLine& line : all_) {
    if (!line.serialNumber.empty()) serials.push_back(line.serialNumber);
  }
  std::sort(serials.begin(), serials.end(), serialBefore);
  serials.erase(std::unique(serials.begin(), serials.end()), serials.end());
  serialNumbers_.assign(1, kAllSerialNumbers);
  serialNumbers_.insert(serialNumbers_.end(), serials.begin(), serials.end());
  const auto kept = std::find(serialNumbers_.begin() + 1, serialNumbers_.end(), chosen);
  serialChoice_ =
      kept == serialNumbers_.end() ? 0 : static_cast<std::size_t>(kept - serialNumbers_.begin());
  filter();
}

void ChangeHistoryForm::chooseSerialNumber(std::size_t index) {
  if (index >= serialNumbers_.size()) return;
  serialChoice_ = index;
  filter();
}

void ChangeHistoryForm::filter() {
  lines_.clear();
  for (const JournalLine& line : all_) {
    if (serialChoice_ == 0 || line.serialNumber == serialNumbers_[serialChoice_]) {
      lines_.push_back(line);
    }
  }
  ++revision_;
  selected_ = -1;
  showCount();
}

void ChangeHistoryForm::showCount() {
  if (!readProblem_.empty()) {
    status_ = readProblem_;
  } else if (all_.empty()) {
    status_ = "Nothing written to a controller is on record yet.";
  } else {
    status_ = std::to_string(lines_.size()) + (lines_.size() == 1 ? " line" : " lines") +
              (serialChoice_ == 0 ? "" : " of serial number " + serialNumbers_[serialChoice_]) +
              ", newest first.";
  }
}

void ChangeHistoryForm::selectLine(int row) {
  selected_ = row >= 0 && row < static_cast<int>(lines_.size()) ? row : -1;
  const JournalLine* line = selected();
  if (line == nullptr || (!isBackup(*line) && line->file.empty())) {
    showCount();
  } else if (!isBackup(*line)) {
    status_ = "Settings file: " + line->file;
  } else if (canRestore()) {
    status_ = "Backup of serial number " + line->serialNumber + " made " + line->time + ": " +
              line->file +
              "\nRestore this backup… opens Download Settings with it; the controller's settings "
              "are backed up again first.";
  } else {
    status_ = "The backup file " + line->file + " is not there any more.";
  }
}

const JournalLine* ChangeHistoryForm::selected() const {
  return selected_ < 0 ? nullptr : &lines_[static_cast<std::size_t>(selected_)];
}

bool ChangeHistoryForm::canRestore() const {
  const JournalLine* line = selected();
  std::error_code error;
  return line != nullptr && isBackup(*line) && std::filesystem::is_regular_file(line->file, error);
}

// The history shows the restore's own lines once it is over.
void ChangeHistoryForm::restore() {
  if (!canRestore()) return;
  const std::filesystem::path backup = selected()->file;
  restore_(backup);
  reload();
}

}  // namespace vs
