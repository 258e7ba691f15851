#include "shell/comm_status.h"

namespace vs {

std::string_view commStatusText(CommState state) {
  switch (state) {
    case CommState::WaitingForData: return "Communication Status: Waiting for data";
    case CommState::Receiving: return "Communication Status: Receiving data";
    case CommState::TimedOut: return "Communication Status: Time-out";
    case CommState::WaitingForReply: return "Communication Status: Waiting for reply";
    case CommState::Playback: return "Communication Status: Playback Mode";
    case CommState::PollingStopped: return "Communication Status: Polling stopped — press F12";
    case CommState::NotConnected: return "Communication Status: Not connected — press F12";
  }
  return {};
}

}  // namespace vs
