#include "app/mode_labels.h"

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

std::string_view commStatusText(int commStatus) {
  switch (commStatus) {
    case -1: return "Communication Status: Waiting for data";
    case 0: return "Communication Status: Receiving data";
    case 100: return "Communication Status: Playback Mode";
    default: return "Communication Status: Time-out";
  }
}

}  // namespace vs
