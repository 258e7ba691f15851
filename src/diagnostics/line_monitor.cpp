#include "diagnostics/line_monitor.h"

#include "diagnostics/frame_decoder.h"
#include "files/replacing_file.h"

namespace vs {

LineMonitor::LineMonitor(const FrameTrace& trace, std::vector<BlockKey> blocks,
                         TickRecorder* ticks)
    : trace_(trace), ticks_(ticks), statistics_(std::move(blocks)), held_(trace.capacity()) {
  incoming_.reserve(trace.capacity());
  // Frames from before the monitor existed belong to no one's view.
  lastSequence_ = trace.lastSequence();
}

LineMonitor::Refresh LineMonitor::refresh() {
  Refresh change;
  incoming_.clear();
  trace_.copySince(lastSequence_, incoming_);
  const std::size_t capacity = held_.size();
  for (const TracedFrame& frame : incoming_) {
    missed_ += frame.sequence - lastSequence_ - 1;
    lastSequence_ = frame.sequence;
    statistics_.add(frame);
    if (paused_) continue;
    const bool error = frameProblem(frame) != FrameProblem::None;
    if (size_ == capacity) {
      // The oldest row gives way.
      const std::uint64_t oldest = appended_ - size_;
      --size_;
      const bool wasError = !errors_.empty() && errors_.front() == oldest;
      if (wasError) errors_.pop_front();
      if (!errorsOnly_ || wasError) ++change.dropped;
    }
    held_[appended_ % capacity] = frame;
    if (error) errors_.push_back(appended_);
    ++appended_;
    ++size_;
    if (!errorsOnly_ || error) ++change.added;
  }
  counts_.added += change.added;
  counts_.dropped += change.dropped;
  return change;
}

void LineMonitor::setErrorsOnly(bool errorsOnly) {
  if (errorsOnly == errorsOnly_) return;
  errorsOnly_ = errorsOnly;
  counts_ = {counts_.generation + 1, rowCount(), 0};
}

void LineMonitor::clear() {
  refresh();
  size_ = 0;
  errors_.clear();
  statistics_.clear();
  missed_ = 0;
  counts_ = {counts_.generation + 1, 0, 0};
  if (ticks_ != nullptr) ticks_->clear();
}

TickStatistics LineMonitor::tickStatistics() const {
  return ticks_ != nullptr ? ticks_->statistics() : TickStatistics();
}

const TracedFrame& LineMonitor::frame(std::size_t row) const {
  const std::uint64_t number = errorsOnly_ ? errors_[row] : appended_ - size_ + row;
  return held_[number % held_.size()];
}

std::string LineMonitor::text(const std::vector<std::string>& advice) const {
  const TickStatistics ticks = tickStatistics();
  std::string text = statisticsText(statistics_, ticks_ != nullptr ? &ticks : nullptr);
  if (missed_ > 0) text += "frames missed: " + std::to_string(missed_) + "\n";
  for (const std::string& sentence : advice) text += sentence + "\n";
  text += errorsOnly_ ? "\nfaulty frames:\n" : "\nframes:\n";
  for (std::size_t row = 0; row < rowCount(); ++row) text += monitorLine(frame(row)) + "\n";
  return text;
}

bool LineMonitor::save(const std::filesystem::path& file,
                       const std::vector<std::string>& advice) const {
  ReplacingFile out(file);
  if (!out.isOpen()) return false;
  out.stream() << text(advice);
  return out.commit();
}

}  // namespace vs
