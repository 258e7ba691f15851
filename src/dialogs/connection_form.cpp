#include "dialogs/connection_form.h"

#include "forms/command_ids.h"

namespace vs {

void ConnectionForm::onInit() { startTimer(PROGRESS_TIMER, kTickMilliseconds); }

void ConnectionForm::onTimer(int id) {
  if (id != PROGRESS_TIMER) return;
  progress = progress >= kProgressMaximum ? 0 : progress + 1;
  if (line_.busy()) {
    if (probeCounted_) return;
    probeCounted_ = true;
  } else {
    probeCounted_ = false;
  }
  if (++ticks_ < kTickLimit) return;
  ticks_ = 0;
  host().post(kCancelMessage, ANSWER_CANCEL);
  mainWindow_.messageBox(
      "Connection failed. \nPlease check the cable, communication port and device ID settings.",
      "Communication Timeout", Icon::None, Buttons::Ok, false);
}

void ConnectionForm::onMessage(int message, std::intptr_t param) {
  if (message == kCancelMessage && param == ANSWER_CANCEL) cancel();
}

void ConnectionForm::ok() {
  killTimer(PROGRESS_TIMER);
  mainWindow_.killTimer(CONNECT_TIMER);
  end(ANSWER_OK);
}

void ConnectionForm::cancel() {
  killTimer(PROGRESS_TIMER);
  mainWindow_.killTimer(CONNECT_TIMER);
  end(ANSWER_CANCEL);
  link_.linkUp = false;
}

}  // namespace vs
