#pragma once

#include <array>

#include "logging/export_progress.h"
#include "logging/playback_form.h"
#include "qt/form_dialog.h"

class QDateEdit;
class QLabel;
class QLineEdit;
class QProgressDialog;
class QPushButton;

namespace vs {

class PageSlider;

// "Playback Dialog": the day, the loaded file and what is wrong with it, the
// slider with the page in memory, the transport buttons, Export CSV and Close. It shows its form
// and the progress of a running export.
class PlaybackView : public FormDialog, private ExportProgress {
 public:
  PlaybackView(PlaybackForm& form, QWidget* parent);
  ~PlaybackView() override;

 protected:
  void refresh() override;

 private:
  bool update(std::int64_t done, std::int64_t total) override;
  void finish() override;

  PlaybackForm& form_;
  QDateEdit* date_;
  QLineEdit* path_;
  QLabel* status_;
  PageSlider* slider_;
  std::array<QPushButton*, 6> transport_{};  // Play, Stop, <<, ||, >>, Export CSV
  QProgressDialog* progress_ = nullptr;      // while an export runs
};

}  // namespace vs
