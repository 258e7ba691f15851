// Device ID 0 (an empty "Device ID" in the port dialog) is the Modbus
// broadcast address: a write there goes out with no reply and would pass for
// success. No settings or maintenance command may send one or report one as
// done.

#include <gtest/gtest.h>

#include "dialogs/calibration_list_form.h"
#include "dialogs/maintenance_commands.h"
#include "dialogs/password_gate_form.h"
#include "dialogs/register_commands.h"
#include "dialogs/settings_commands.h"
#include "support/controller_bench.h"

namespace vs {
namespace {

struct BroadcastAddress : ::testing::Test {
  BroadcastAddress() {
    bench.desktop.onForm(PasswordGateForm::kTemplateId, [](Form& form, test::ScriptedFormHost&) {
      auto& gate = dynamic_cast<PasswordGateForm&>(form);
      gate.setPassword("2604");
      gate.ok();
    });
  }
  test::ControllerBench bench;
};

// Reads need an address from 1 to 255, so each command's first read fails
// before anything goes out, and the command stops with its refusal.
TEST_F(BroadcastAddress, EveryCommandStopsAtItsFirstReadWithNothingSent) {
  bench.link.slaveAddress = 0;
  const struct {
    const char* name;
    void (*command)(ShellContext&);
    const char* refusal;
  } commands[] = {
      {"pressure settings", pressureSettingsCommand, "Failed to read valve settings."},
      {"O2 sensor settings", o2SensorSettingsCommand, "Failed to read valve settings."},
      {"calibration list", calibrateValveCommand, "Valvescope is not connected to QX4."},
      {"zero transducer", zeroTransducerCommand, "Valvescope is not connected to QX4."},
      {"O2 schedule", o2ScheduleCommand, "Failed to read valve settings."},
      {"governor settings", governorSettingsCommand, "This feature is not supported."},
      {"force inputs", forceDigitalInputsCommand, "Communication time-out"},
      {"free-air calibration", freeAirCalibrationCommand, "Valvescope is not connected to QX4."},
      {"upload settings", uploadSettingsCommand, "Unable to read data."},
  };
  for (const auto& c : commands) {
    bench.desktop.boxes.clear();
    c.command(bench.ctx);
    ASSERT_EQ(bench.desktop.boxes.size(), 1u) << c.name;
    EXPECT_EQ(bench.desktop.boxes[0].text, c.refusal) << c.name;
  }
  EXPECT_TRUE(bench.desktop.formsRun.empty());
  EXPECT_TRUE(bench.master.requests.empty());
  EXPECT_EQ(bench.controller.saveCount(), 0);
}

// Should the address in use become 0 while a dialog is open (a controller that
// took modbus_address 0), its writes fail instead of going out unanswered.
TEST_F(BroadcastAddress, AWriteToAddressZeroFromADialogFailsWithoutTraffic) {
  const int row = 5;  // register 117
  EXPECT_TRUE(bench.runWith<CalibrationListForm>(calibrateValveCommand, [&](auto& form) {
    bench.link.slaveAddress = 0;
    bench.master.clear();
    form.selectRow(row);
    form.editValue("42");
    form.change();
    EXPECT_EQ(form.status(), "Writing " + form.rows()[row].name + " failed. It keeps the value " +
                                 form.rows()[row].value + ".");
    form.saveAndClose();
  }));
  EXPECT_TRUE(bench.master.requests.empty());
  ASSERT_EQ(bench.desktop.boxes.size(), 1u);
  EXPECT_EQ(bench.desktop.boxes[0].text, "Failed to save valve settings!");
  EXPECT_EQ(bench.controller.saveCount(), 0);
}

}  // namespace
}  // namespace vs
