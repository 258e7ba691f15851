#include "dialogs/line_monitor_form.h"

#include <algorithm>
#include <cstdio>

#include "time/local_date_time.h"

namespace vs {
namespace {

std::string millis(std::int64_t micros) {
  char text[24];
  std::snprintf(text, sizeof text, "%.1f", static_cast<double>(micros) / 1000.0);
  return text;
}

LineMonitorForm::StatisticsRow statisticsRow(std::string label, const LinkCounts& c) {
  const LatencySummary& l = c.latency;
  const auto latency = [&l](std::int64_t micros) { return l.count > 0 ? millis(micros) : "-"; };
  return {std::move(label),
          std::to_string(c.requests),
          std::to_string(c.successes),
          std::to_string(c.retries),
          std::to_string(c.timeouts),
          std::to_string(c.crcErrors),
          std::to_string(c.exceptions),
          std::to_string(c.mismatches),
          std::to_string(c.otherFailures),
          latency(l.minMicros),
          latency(l.medianMicros),
          latency(l.p99Micros),
          latency(l.maxMicros)};
}

std::string ticksLine(const TickStatistics& t) {
  if (t.ticks == 0) return "Poll ticks: none yet";
  char line[200];
  std::snprintf(line, sizeof line,
                "Poll ticks: %.1f a second; %lld of %lld took over %lld ms (last %s ms, "
                "longest %s ms)",
                t.ticksPerSecond, static_cast<long long>(t.overruns),
                static_cast<long long>(t.ticks), static_cast<long long>(t.periodMicros / 1000),
                millis(t.lastMicros).c_str(), millis(t.longestMicros).c_str());
  return line;
}

std::string notesLine(const LinkCounts& all, std::uint64_t missed) {
  std::string line;
  const auto add = [&line](const char* what, std::uint64_t count) {
    if (count == 0) return;
    if (!line.empty()) line += "   ";
    line += what + std::to_string(count);
  };
  add("Late replies: ", static_cast<std::uint64_t>(all.lateReplies));
  add("Stray bytes: ", static_cast<std::uint64_t>(all.strayBytes));
  add("Frames missed by the table: ", missed);
  return line;
}

// "line_monitor_2026-05-01_140307.txt": the moment of the save, sorting by time.
std::string fileName(const LocalDateTime& t) {
  char name[48];
  std::snprintf(name, sizeof name, "line_monitor_%04d-%02d-%02d_%02d%02d%02d.txt", t.year, t.month,
                t.day, t.hour, t.minute, t.second);
  return name;
}

}  // namespace

LineMonitorForm::LineMonitorForm(LineMonitor& monitor, AdviceSource advice,
                                 std::filesystem::path saveFolder)
    : Form(kTemplateId),
      monitor_(monitor),
      adviceSource_(std::move(advice)),
      saveFolder_(std::move(saveFolder)) {}

void LineMonitorForm::onInit() {
  shown_ = true;
  taken_.reset();
  status = pausedNote();
  startTimer(kRefreshTimer, kRefreshMilliseconds);
  refresh();
}

void LineMonitorForm::onTimer(int id) {
  if (id == kRefreshTimer) refresh();
}

void LineMonitorForm::onClose() {
  shown_ = false;
  killTimer(kRefreshTimer);
  end(2);
}

void LineMonitorForm::refresh() {
  monitor_.refresh();
  const LinkStatistics& s = monitor_.statistics();
  statistics.clear();
  statistics.push_back(statisticsRow("All", s.overall()));
  for (std::size_t i = 0; i < s.blockCount(); ++i) {
    const BlockKey& key = s.blockKey(i);
    statistics.push_back(statisticsRow(
        std::to_string(key.first) + "-" + std::to_string(key.first + key.count - 1), s.block(i)));
  }
  ticks = ticksLine(monitor_.tickStatistics());
  notes = notesLine(s.overall(), monitor_.missedFrames());
  advice = adviceSource_ ? adviceSource_().sentences : std::vector<std::string>();
}

LineMonitorForm::TableChange LineMonitorForm::takeTableChange() {
  const LineMonitor::TableCounts now = monitor_.tableCounts();
  TableChange change;
  if (!taken_ || taken_->generation != now.generation) {
    change.reset = true;
  } else {
    // Rows drop oldest first: those that came and went since the last call
    // were never shown.
    const std::uint64_t shown = taken_->added - taken_->dropped;
    const std::uint64_t dropped = std::min(now.dropped - taken_->dropped, shown);
    change.dropped = static_cast<std::size_t>(dropped);
    change.added = rowCount() - static_cast<std::size_t>(shown - dropped);
  }
  taken_ = now;
  return change;
}

void LineMonitorForm::setPaused(bool paused) {
  monitor_.setPaused(paused);
  status = pausedNote();
}

std::string LineMonitorForm::pausedNote() const {
  return monitor_.paused() ? "Paused: the table stands still, the statistics go on counting."
                           : "";
}

void LineMonitorForm::setErrorsOnly(bool errorsOnly) { monitor_.setErrorsOnly(errorsOnly); }

void LineMonitorForm::clear() {
  monitor_.clear();
  status = pausedNote();
  refresh();
}

void LineMonitorForm::save() {
  FileDialogRequest request;
  request.mode = FileDialogRequest::Mode::Save;
  request.title = "Save Line Monitor";
  request.filters = {{"Text Files (*.txt)", "*.txt"}, {"All Files (*.*)", "*.*"}};
  request.initialFolder = saveFolder_.string();
  request.initialName = fileName(localNow());
  const auto chosen = host().chooseFile(request);
  if (!chosen) return;
  refresh();
  if (monitor_.save(*chosen, advice)) {
    status = "Saved as " + *chosen;
  } else {
    host().messageBox("The line monitor could not be saved as\n" + *chosen, "Line Monitor",
                      Icon::Exclamation, Buttons::Ok);
  }
}

}  // namespace vs
