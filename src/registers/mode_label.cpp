#include "registers/mode_label.h"

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

}  // namespace vs
