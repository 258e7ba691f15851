#pragma once

#include "forms/desktop.h"
#include "forms/form.h"
#include "forms/link_worker.h"
#include "forms/valve_link.h"

namespace vs {

// "Establishing communication" (template 110): a moving bar and Cancel while
// the main window's connection step reaches the controller. The step closes it
// once the controller has answered; the user can give up with Cancel, and the
// dialog gives up by itself after 300 of its ticks. Ticks that fall due while
// a probe is out on the line count as one, as they did when the probe held
// the window: a missing controller is then reported by the connection step
// after its twenty probes rather than by the dialog after three seconds.
class ConnectionForm : public Form {
 public:
  static constexpr int kTemplateId = 110;
  static constexpr int PROGRESS_TIMER = 1;
  static constexpr int kTickMilliseconds = 10;
  static constexpr int kTickLimit = 300;
  static constexpr int kProgressMaximum = 100;
  // The message the dialog posts to itself to cancel (a command, id 2).
  static constexpr int kCancelMessage = 0x0111;
  static constexpr const char* kText = "Valvescope is connecting to the valve. Please wait...";

  // `ticks` is the dialog's tick counter, which outlives the dialog; `line`
  // carries the connection step's probes.
  ConnectionForm(Desktop& mainWindow, ValveLink& link, int& ticks, const LinkWorker& line)
      : Form(kTemplateId), mainWindow_(mainWindow), link_(link), ticks_(ticks), line_(line) {}

  int progress = 0;  // the bar's position, 0 to kProgressMaximum

  void onInit() override;
  void onTimer(int id) override;
  void onMessage(int message, std::intptr_t param) override;
  void onClose() override { cancel(); }
  // Enter: the dialog's default command.
  void ok();
  void cancel();
  // The connection step is done with the dialog (reached the controller or
  // gave up); it closes without touching the link.
  void dismiss() { end(0); }

 private:
  Desktop& mainWindow_;
  ValveLink& link_;
  int& ticks_;
  const LinkWorker& line_;
  bool probeCounted_ = false;  // a tick has counted since the line went busy
};

}  // namespace vs
