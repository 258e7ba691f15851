#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "forms/form.h"
#include "journal/journal_line.h"

namespace vs {

// "Change History" (template 141): the change journal as a table, newest line
// first, shown for every controller or for one serial number, and the way
// back to a backup: "Restore this backup…" on a line of a backup made before a
// download hands its file to the normal Download Settings path.
//
// A view shows serialNumbers() in a drop-down, columns() over lines() in a
// table (rebuilt whenever revision() has moved), the status line and the two
// buttons, and forwards the user's choices.
class ChangeHistoryForm : public Form {
 public:
  static constexpr int kTemplateId = 141;
  static constexpr const char* kAllSerialNumbers = "All";
  static constexpr const char* kRestoreButton = "Restore this backup…";
  // Runs Download Settings with the backup already chosen.
  using Restore = std::function<void(const std::filesystem::path& backup)>;

  ChangeHistoryForm(std::filesystem::path journalFile, Restore restore)
      : Form(kTemplateId), journalFile_(std::move(journalFile)), restore_(std::move(restore)) {}

  // The table's column titles, and a line's cells in their order: the file's
  // name only, its whole path being in the status line once the line is
  // selected.
  static const std::vector<std::string>& columns();
  static std::vector<std::string> cells(const JournalLine& line);

  // "All", then every serial number the journal holds, in numeric order.
  const std::vector<std::string>& serialNumbers() const { return serialNumbers_; }
  std::size_t serialChoice() const { return serialChoice_; }
  const std::vector<JournalLine>& lines() const { return lines_; }
  // Moves whenever lines() is filled anew.
  int revision() const { return revision_; }
  int selectedLine() const { return selected_; }  // -1: none
  const std::string& status() const { return status_; }
  // The selected line is a backup whose file is there to download.
  bool canRestore() const;

  void onInit() override { reload(); }
  void chooseSerialNumber(std::size_t index);
  void selectLine(int row);
  void restore();
  // Reads the journal again, keeping the serial number chosen if it is still there.
  void reload();
  void close() { end(2); }

 private:
  const JournalLine* selected() const;
  void filter();
  void showCount();

  std::filesystem::path journalFile_;
  Restore restore_;
  std::vector<JournalLine> all_;  // the whole journal, newest first
  std::vector<std::string> serialNumbers_{kAllSerialNumbers};
  std::size_t serialChoice_ = 0;
  std::vector<JournalLine> lines_;
  int revision_ = 0;
  int selected_ = -1;
  std::string status_;
  std::string readProblem_;  // why the journal could not be read, or lines of it
};

}  // namespace vs
