#include "shell/mode_labels.h"

namespace vs {

std::string_view modeLabel(int mode) {
  switch (mode) {
    case 2: return "MODE: A/F CONTROL";
    case 1: return "MODE: DEFAULT";
    case 0: return "MODE: STOPPED";
    case -1: return "Pre-Cat Overtemp";
    case -2: return "Post-Cat Overtemp";
    case -3: return "Press Xducer Failed";
    case -4: return "MODE:CAN NOT AVAIL";
    default: return "MODE: ";
  }
}

std::string_view commStatusText(CommState state) {
  switch (state) {
    case CommState::WaitingForData: return "Communication Status: Waiting for data";
    case CommState::Receiving: return "Communication Status: Receiving data";
    case CommState::TimedOut: return "Communication Status: Time-out";
    case CommState::Playback: return "Communication Status: Playback Mode";
    case CommState::PollingStopped: return "Communication Status: Polling stopped — press F12";
    case CommState::NotConnected: return "Communication Status: Not connected — press F12";
  }
  return {};
}

}  // namespace vs
