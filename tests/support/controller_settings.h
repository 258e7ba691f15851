#pragma once

#include "registers/settings_image.h"
#include "sim/simulated_controller.h"

namespace vs::test {

// The 114 settings registers as the controller would answer them now.
inline SettingsImage settingsOf(sim::SimulatedController& controller) {
  SettingsImage image{};
  controller.readRegisters(kFirstSettingsRegister, kSettingsRegisterCount, image.data());
  return image;
}

}  // namespace vs::test
