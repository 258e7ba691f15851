#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "forms/desktop.h"
#include "forms/form.h"
#include "logging/export_progress.h"
#include "logging/playback_state.h"
#include "time/local_date_time.h"

namespace vs {

inline constexpr int PLAYBACK_TIMER = 275;
// The scroll code the form posts to itself when it has set the position
// already, so that the slider is not read back.
inline constexpr int SCROLL_ALREADY_SET = 33;
// The horizontal-scroll message; its parameter is the scroll code.
inline constexpr int PLAYBACK_SCROLL_MESSAGE = 0x0114;

// The slider over the records of the file; its selection shows the page in
// memory. 32-bit throughout, so files of any length fit.
struct PlaybackSlider {
  std::int32_t minimum = 0;
  std::int32_t maximum = 0;
  std::int32_t tickFrequency = 0;
  std::int32_t position = 0;
  std::int32_t selectionFirst = 0;
  std::int32_t selectionLast = 0;
  bool enabled = false;
  friend bool operator==(const PlaybackSlider&, const PlaybackSlider&) = default;
};

// The "Playback Dialog": picks a day's log file, then moves through it with
// the slider and the transport buttons. It draws nothing itself: the main
// window, in playback mode, shows the record at the position.
class PlaybackForm : public Form {
 public:
  static constexpr int kTemplateId = 109;
  static constexpr int kPlayMilliseconds = 100;
  static constexpr int kFastMilliseconds = 5;
  static constexpr const char* kNoRecords = "The file holds no records.";
  static constexpr const char* kUnreadable = "The file cannot be read.";

  PlaybackForm(PlaybackState& state, Desktop& mainWindow, std::filesystem::path dataDirectory,
               LocalDate today);

  LocalDate date;        // the day whose log files the chooser offers
  std::string pathText;  // the loaded file, UTF-8
  PlaybackSlider slider;
  bool transportEnabled = false;  // Play, Stop, <<, ||, >> and Export CSV
  std::string status;             // why a chosen file left nothing to play; else empty

  // Open File: returns 0 when a file was chosen (and loaded), 1 when cancelled.
  int OpenLogFile();
  void play();
  void stop();
  void fastReverse();
  void pause();
  void fastForward();
  void close();
  // Export CSV: asks where to write the loaded file as CSV, writes it and says
  // how that went. Engineers read the logs in spreadsheets.
  void exportCsv();
  // Where a running export shows its progress; none shows nothing.
  void setExportProgress(ExportProgress* progress) { exportProgress_ = progress; }
  // The user moved the slider.
  void sliderMoved(std::int32_t position);

  void onTimer(int id) override;
  void onMessage(int message, std::intptr_t param) override;
  void onClose() override { close(); }

 private:
  void loadFirstPage();
  void scroll(std::intptr_t code);
  void startPlaying(bool forward, int milliseconds);
  void returnToStart();
  void postScroll();

  PlaybackState& state_;
  Desktop& mainWindow_;
  std::filesystem::path dataDirectory_;
  ExportProgress* exportProgress_ = nullptr;
};

}  // namespace vs
