#include "logging/playback_state.h"

#include <algorithm>
#include <limits>

#include "logging/log_file_reader.h"
#include "widgets/trend_chart.h"

namespace vs {

PlaybackState::PlaybackState(TrendChart& chart, ValveLink& link) : chart_(chart), link_(link) {}

std::int32_t PlaybackState::LoadLogPage(const std::filesystem::path& path, std::int32_t position) {
  LogFileReader reader(path);
  if (!reader.isOpen()) return 0;
  path_ = path;
  const std::int32_t capacity = this->capacity();
  const std::int32_t start = std::max(position, 0) / capacity * capacity;
  const auto lastRecord = static_cast<std::int32_t>(
      std::min<std::int64_t>(reader.recordCount(), std::numeric_limits<std::int32_t>::max()) - 1);

  // The buffer grows to the largest page asked for and then stays.
  if (pageBuffer_.size() < static_cast<std::size_t>(capacity) + 1) pageBuffer_.resize(capacity + 1);
  pageFirst_ = start;
  pageCount_ = 0;
  if (reader.seek(start)) {
    pageCount_ = static_cast<std::int32_t>(reader.read(pageBuffer_.data(), capacity + 1));
  }
  if (pageCount_ > 0) restampChart(capacity, pageBuffer_[pageCount_ - 1].timeStamp);
  for (std::int32_t i = 0; i < pageCount_; ++i) {
    const LogRecord& record = pageBuffer_[i];
    const auto& v = record.values;
    link_.liveValues = v;
    if (i == 0) chart_.Clear();
    chart_.StampAndAdvance(record.timeStamp);
    chart_.AddSample(v[LIVE_O2_SET_POINT] / 1000.0, 0);
    chart_.AddSample(v[LIVE_O2_FEEDBACK] / 1000.0, 1);
    chart_.AddSample(v[LIVE_PRESSURE_SET_POINT] / 1000.0, 5);
    chart_.AddSample(v[LIVE_ACTUATOR], 6);
    chart_.AddSample(v[LIVE_PRESSURE] / 1000.0, 2);
    chart_.AddSample(v[LIVE_ANALOG_INPUT] / 100.0, 3);
    chart_.AddSample(v[LIVE_MODE], 4);
    link_.commStatus = 100;
  }
  return lastRecord;
}

// A chart squeezed to nothing still pages one record at a time.
std::int32_t PlaybackState::capacity() const { return std::max(chart_.Capacity(), 1); }

bool PlaybackState::showPosition() {
  if (pageCount_ > capacity() + 1) LoadLogPage(path_, position);
  return ShowPlaybackRecord(position - pageFirst_);
}

// The chart keeps its time stamps when cleared, so the slots a page does not
// reach would label the time axis with the times of another page or of the
// live session. Every slot is stamped afresh: 0 (no label) everywhere except
// the slot after the page's last record, which holds that record's samples and
// gets its time; the page's own records then stamp the slots before it.
void PlaybackState::restampChart(std::int32_t capacity, std::int32_t lastTime) {
  chart_.Clear();
  for (std::int32_t slot = 0; slot <= capacity + 1; ++slot)
    chart_.StampAndAdvance(slot == pageCount_ ? lastTime : 0);
}

bool PlaybackState::ShowPlaybackRecord(std::int32_t index) {
  if (index < 0 || index >= pageCount_) return false;
  link_.liveValues = pageBuffer_[index].values;
  chart_.SetCursor(index + 1);
  return true;
}

void PlaybackState::clearPage() {
  pageFirst_ = 0;
  pageCount_ = 0;
}

}  // namespace vs
