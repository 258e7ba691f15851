#include "forms/form.h"

#include <utility>

namespace vs {

Form::Form(int templateId, LinkWorker& line) : templateId_(templateId), line_(&line) {
  line.addListener(this);
}

Form::~Form() {
  if (line_ != nullptr) line_->removeListener(this);
}

void Form::init() {
  enter([this] { onInit(); });
}

void Form::act(const std::function<void()>& action) {
  if (busy()) {
    if (actionDepth_ == 0) heldActions_.push_back(action);
    return;
  }
  enter([this, &action] {
    ++actionDepth_;
    action();
    --actionDepth_;
  });
}

void Form::tick(int timerId) {
  if (busy()) {
    heldTicks_.insert(timerId);
    return;
  }
  enter([this, timerId] { onTimer(timerId); });
}

void Form::deliver(int message, std::intptr_t param) {
  if (busy()) {
    heldMessages_.emplace_back(message, param);
    return;
  }
  switch (message) {
    // A tick held back while the line was busy, unless its timer has been
    // killed since.
    case kHeldTick:
      if (timers_.count(static_cast<int>(param)) != 0) tick(static_cast<int>(param));
      break;
    case kHeldClose: closeBox(); break;
    case kHeldActions:
      for (const auto& action : std::exchange(heldActions_, {})) act(action);
      break;
    default: enter([this, message, param] { onMessage(message, param); }); break;
  }
}

void Form::closeBox() {
  if (!busy()) {
    enter([this] { onClose(); });
    return;
  }
  closeRequested_ = true;
  // Only this form's own sequence is stopped; another's wait is seen out.
  if (depth_ > 0) line_->requestStop();
}

void Form::enter(const std::function<void()>& handler) {
  if (ended_) return;
  if (depth_++ == 0 && line_ != nullptr) line_->resetTally();
  handler();
  if (--depth_ > 0) return;
  if (shownBusy_) {
    shownBusy_ = false;
    if (host_ != nullptr) host_->setBusy(false);
  }
  if (closeRequested_) closeAfterStop();
}

// The sequence has stopped after the exchange that was in hand; Close now
// does what it always does, its own requests included.
void Form::closeAfterStop() {
  closeRequested_ = false;
  const LinkWorker::Tally tally = line_->tally();
  line_->clearStop();
  if (tally.writesSent > 0 && tally.writesNotSent > 0 && host_ != nullptr) {
    host_->messageBox(partWrittenNote(tally.writesSent, tally.writesNotSent), "Notice",
                      Icon::Exclamation, Buttons::Ok);
  }
  enter([this] { onClose(); });
}

std::string Form::partWrittenNote(int sent, int notSent) const {
  return "The dialog was closed part-way through its writes: the first " + std::to_string(sent) +
         " of " + std::to_string(sent + notSent) + " went out, the other " +
         std::to_string(notSent) +
         " were not sent.\nOpen the dialog again to see what the controller holds now.";
}

void Form::startTimer(int id, int milliseconds) {
  timers_.insert(id);
  host().startTimer(id, milliseconds);
}

void Form::killTimer(int id) {
  timers_.erase(id);
  host().killTimer(id);
}

void Form::lineWaiting(bool waiting) {
  if (!waiting || depth_ == 0 || shownBusy_ || host_ == nullptr) return;
  shownBusy_ = true;
  host_->setBusy(true);
}

// What was held back goes out again in its order, messages before the user's
// actions before ticks, as a window system delivers them; a Close that waited
// on another's sequence follows.
void Form::lineIdle() {
  if (host_ == nullptr || ended_) return;
  for (const auto& [message, param] : heldMessages_) host_->post(message, param);
  heldMessages_.clear();
  if (!heldActions_.empty()) host_->post(kHeldActions, 0);
  for (const int id : heldTicks_) host_->post(kHeldTick, id);
  heldTicks_.clear();
  if (closeRequested_ && depth_ == 0) {
    closeRequested_ = false;
    host_->post(kHeldClose, 0);
  }
}

}  // namespace vs
