#pragma once

#include "registers/settings_image.h"

namespace vs::sim {

// The settings of a freshly built controller on a running engine: pressures in
// thousandths of in. W.C., O2 set points in mV, times in seconds.
SettingsImage defaultSettings();

}  // namespace vs::sim
