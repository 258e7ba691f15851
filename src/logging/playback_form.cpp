#include "logging/playback_form.h"

#include <algorithm>
#include <utility>

#include "files/utf8_path.h"
#include "logging/log_csv_export.h"

namespace vs {
namespace {

constexpr const char* kExportCaption = "Export CSV";

}  // namespace

PlaybackForm::PlaybackForm(PlaybackState& state, Desktop& mainWindow,
                           std::filesystem::path dataDirectory, LocalDate today)
    : Form(kTemplateId),
      date(today),
      state_(state),
      mainWindow_(mainWindow),
      dataDirectory_(std::move(dataDirectory)) {}

int PlaybackForm::OpenLogFile() {
  const std::string day = dateText(date);
  FileDialogRequest request;
  request.filters = {{"Log Files", "*" + day + "*.log"}, {"All Files", "*.*"}};
  request.initialFolder = utf8Of(dataDirectory_);
  request.initialName = day;
  const auto chosen = host().chooseFile(request);
  if (!chosen) return 1;
  state_.position = 0;
  pathText = *chosen;
  loadFirstPage();
  return 0;
}

void PlaybackForm::loadFirstPage() {
  // Nothing of a previous file may stay on show under this file's name.
  state_.clearPage();
  const std::int32_t lastRecord = state_.LoadLogPage(pathFromUtf8(pathText), 0);
  state_.lastPosition = std::max(lastRecord, 0);
  // A file without a single record, or one that cannot be read, leaves the
  // controls as they are before any file: there is nothing to move through,
  // and the status says why.
  transportEnabled = state_.pageCount() > 0;
  status = transportEnabled ? "" : lastRecord < 0 ? kNoRecords : kUnreadable;
  if (!transportEnabled) killTimer(PLAYBACK_TIMER);
  slider = {};
  if (transportEnabled) {
    slider.maximum = state_.lastPosition;
    slider.tickFrequency = state_.lastPosition;
    slider.selectionFirst = state_.pageFirst();
    slider.selectionLast = state_.pageLast();
    slider.enabled = true;
  }
  mainWindow_.invalidate(false);
}

void PlaybackForm::exportCsv() {
  if (!transportEnabled) return;
  const std::filesystem::path log = pathFromUtf8(pathText);
  FileDialogRequest request;
  request.mode = FileDialogRequest::Mode::Save;
  request.title = kExportCaption;
  request.filters = {{"CSV Files", "*.csv"}, {"All Files", "*.*"}};
  request.initialFolder = utf8Of(dataDirectory_);
  request.initialName = utf8Of(std::filesystem::path(log.filename()).replace_extension(".csv"));
  const auto chosen = host().chooseFile(request);
  if (!chosen) return;

  std::filesystem::path csv = pathFromUtf8(*chosen);
  if (!csv.has_extension()) csv += ".csv";
  const std::string csvText = utf8Of(csv);
  // The chooser does not ask, and an earlier export may be someone's work.
  std::error_code error;
  if (std::filesystem::exists(csv, error) &&
      host().messageBox(utf8Of(csv.filename()) + " already exists.\nDo you want to replace it?",
                        kExportCaption, Icon::Exclamation, Buttons::YesNo) != ANSWER_YES) {
    return;
  }

  CsvExportProgress progress;
  if (exportProgress_ != nullptr) {
    progress = [this](std::int64_t done, std::int64_t total) {
      return exportProgress_->update(done, total);
    };
  }
  const CsvExportResult result = exportLogToCsv(log, csv, progress);
  if (exportProgress_ != nullptr) exportProgress_->finish();

  switch (result.status) {
    case CsvExportStatus::Ok:
      host().messageBox(std::to_string(result.records) + " records written to\n" + csvText,
                        kExportCaption, Icon::Information, Buttons::Ok);
      break;
    case CsvExportStatus::CannotReadLog:
      host().messageBox("The log file could not be read:\n" + pathText, kExportCaption,
                        Icon::Exclamation, Buttons::Ok);
      break;
    case CsvExportStatus::CannotWriteCsv:
      host().messageBox("The CSV file could not be written:\n" + csvText, kExportCaption,
                        Icon::Exclamation, Buttons::Ok);
      break;
    case CsvExportStatus::Cancelled: break;  // the unfinished file is gone again
  }
}

void PlaybackForm::sliderMoved(std::int32_t position) {
  slider.position = std::clamp(position, slider.minimum, slider.maximum);
  scroll(0);
}

void PlaybackForm::onMessage(int message, std::intptr_t param) {
  if (message == PLAYBACK_SCROLL_MESSAGE) scroll(param);
}

void PlaybackForm::scroll(std::intptr_t code) {
  if (code != SCROLL_ALREADY_SET) state_.position = slider.position;
  const std::int32_t position = state_.position;
  if (!state_.holdsBeforePageEnd(position) || position >= state_.lastPosition) {
    state_.LoadLogPage(pathFromUtf8(pathText), position);
    slider.selectionFirst = state_.pageFirst();
    slider.selectionLast = state_.pageLast();
  }
  mainWindow_.invalidate(false);
}

void PlaybackForm::onTimer(int id) {
  if (id != PLAYBACK_TIMER) return;
  if (state_.playReverse) {
    // Reverse play stops at the first record, as forward play does at the last.
    if (state_.position > 0) {
      slider.position = --state_.position;
      postScroll();
    } else {
      killTimer(PLAYBACK_TIMER);
    }
  } else if (state_.position < state_.lastPosition) {
    if (state_.playForward) ++state_.position;
    slider.position = state_.position;
    postScroll();
  } else {
    killTimer(PLAYBACK_TIMER);
    returnToStart();
  }
}

void PlaybackForm::play() { startPlaying(true, kPlayMilliseconds); }
void PlaybackForm::fastForward() { startPlaying(true, kFastMilliseconds); }
void PlaybackForm::fastReverse() { startPlaying(false, kFastMilliseconds); }

void PlaybackForm::pause() {
  state_.playForward = false;
  state_.playReverse = false;
  killTimer(PLAYBACK_TIMER);
}

void PlaybackForm::stop() {
  returnToStart();
  killTimer(PLAYBACK_TIMER);
}

void PlaybackForm::close() {
  killTimer(PLAYBACK_TIMER);
  end(1);
}

void PlaybackForm::startPlaying(bool forward, int milliseconds) {
  state_.playForward = forward;
  state_.playReverse = !forward;
  startTimer(PLAYBACK_TIMER, milliseconds);
}

// Stop and the end of the file go back to record 1 (record 0 in a file of one).
void PlaybackForm::returnToStart() {
  state_.position = std::min(1, state_.lastPosition);
  slider.position = state_.position;
  postScroll();
}

void PlaybackForm::postScroll() { host().post(PLAYBACK_SCROLL_MESSAGE, SCROLL_ALREADY_SET); }

}  // namespace vs
