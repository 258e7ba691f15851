#pragma once

#include <string_view>

namespace vs {

// What the link to the controller is doing, as the status bar tells it.
enum class CommState {
  WaitingForData,   // connecting, or polling started and no tick has ended since
  Receiving,        // polling, and the last tick was answered
  TimedOut,         // polling, and the last tick went unanswered
  WaitingForReply,  // a tick after answered ones is late, or a command awaits a reply
  Playback,         // the panel shows a log file
  PollingStopped,   // connected, with polling held by a command or its dialog
  NotConnected,     // nothing is polled until the user connects (F12)
};

// The status bar's communication text.
std::string_view commStatusText(CommState state);

}  // namespace vs
