#include <gtest/gtest.h>

#include "dialogs/calibration_list_form.h"
#include "dialogs/password_gate_form.h"
#include "dialogs/register_commands.h"
#include "support/controller_bench.h"

namespace vs {
namespace {

using Strings = std::vector<std::string>;

struct CalibrationList : ::testing::Test {
  CalibrationList() {
    for (int i = 0; i < kSettingsRegisterCount; ++i) {
      bench.set(registerOfPosition(i), static_cast<std::int16_t>(i * 3 - 100));
    }
    bench.set(REG_MODBUS_ADDRESS, 1);
    bench.desktop.onForm(PasswordGateForm::kTemplateId, [](Form& form, test::ScriptedFormHost&) {
      auto& gate = dynamic_cast<PasswordGateForm&>(form);
      gate.setPassword("2604");
      gate.ok();
    });
  }

  void run(const std::function<void(CalibrationListForm&)>& script) {
    EXPECT_TRUE(bench.runWith<CalibrationListForm>(calibrateValveCommand, script));
  }

  // Selects a row, types into the edit and presses Change.
  static void change(CalibrationListForm& form, int row, const std::string& text) {
    form.selectRow(row);
    form.editValue(text);
    form.change();
  }

  test::ControllerBench bench;
};

TEST_F(CalibrationList, ListsEveryRegisterAsJustRead) {
  run([&](CalibrationListForm& form) {
    ASSERT_EQ(form.rows().size(), 114u);
    for (int i = 0; i < kSettingsRegisterCount; ++i) {
      const int expected = i == 23 ? 1 : i * 3 - 100;
      EXPECT_EQ(form.rows()[i].name, RegisterMap[i]);
      EXPECT_EQ(form.rows()[i].value, std::to_string(expected)) << i;
      EXPECT_EQ(bench.memory.registerValues.get(RegisterMap[i]), expected);
    }
    EXPECT_EQ(form.status(), "");
    form.close();
  });
  EXPECT_EQ(bench.master.texts(),
            (Strings{"3:112x22", "3:112x22", "3:134x22", "3:156x22", "3:178x22", "3:200x26"}));
  EXPECT_EQ(bench.desktop.formsRun, (std::vector<int>{112, 111}));
  EXPECT_EQ(bench.desktop.posted, (std::deque<int>{CMD_DISCONNECT, CMD_CONNECT}));
  EXPECT_TRUE(bench.desktop.boxes.empty());
}

TEST_F(CalibrationList, ChangeWritesTheTypedValueToTheSelectedRow) {
  run([&](CalibrationListForm& form) {
    bench.master.clear();
    change(form, 66, "-5");  // speed_deriv_g_min, register 178
    EXPECT_EQ(form.rows()[66].value, "-5");
    form.selectRow(0);
    form.selectRow(66);
    EXPECT_EQ(form.valueText(), "-5");
    change(form, 5, "");
    change(form, 6, "  +12 ");
    change(form, 7, "65535");
    EXPECT_EQ(form.rows()[7].value, "-1");
    form.selectRow(8);
    form.change();  // nothing typed: nothing sent
  });
  EXPECT_EQ(bench.master.texts(), (Strings{"6:178=-5", "6:117=0", "6:118=12", "6:119=-1"}));
  EXPECT_EQ(static_cast<std::uint16_t>(bench.get(178)), 0xFFFB);
  EXPECT_EQ(bench.memory.calibrationListRow, 8);
}

TEST_F(CalibrationList, ANumberThatDoesNotFitIsRefused) {
  run([&](CalibrationListForm& form) {
    bench.master.clear();
    change(form, 3, "65536");
    EXPECT_EQ(form.status(), "demand_gain must lie between -32768 and 65535. Nothing was written.");
    EXPECT_EQ(form.rows()[3].value, "-91");
    // Read whole, never in part: not 2, not 25, not 0.
    for (const char* typed : {"2,5", "2.5", "abc", "12xyz"}) {
      change(form, 3, typed);
      EXPECT_EQ(form.status(), "demand_gain must be a whole number. Nothing was written.");
    }
    form.editValue("-32769");
    form.change();
    form.editValue("-32768");
    form.change();
    EXPECT_EQ(form.status(), "");
  });
  EXPECT_EQ(bench.master.texts(), Strings{"6:115=-32768"});
}

TEST_F(CalibrationList, AFailedWriteIsReportedAndTheRowKeepsItsValue) {
  run([&](CalibrationListForm& form) {
    bench.controller.faults().injectNext(sim::FaultKind::Exception, 1);
    change(form, 11, "2500");
    EXPECT_EQ(form.status(), "Writing default_pressure failed. It keeps the value -67.");
    EXPECT_EQ(form.rows()[11].value, "-67");
    EXPECT_EQ(bench.memory.registerValues.get("default_pressure"), -67);
    form.change();  // still typed, so a retry goes out
    EXPECT_EQ(form.rows()[11].value, "2500");
    EXPECT_EQ(form.status(), "");
  });
  EXPECT_EQ(bench.get(123), 2500);
}

TEST_F(CalibrationList, ANewModbusAddressMovesEveryLaterRequest) {
  run([&](CalibrationListForm& form) {
    bench.master.clear();
    change(form, 23, "5");
    EXPECT_EQ(bench.link.slaveAddress, 5);
    change(form, 0, "9");
    form.saveAndClose();
  });
  ASSERT_EQ(bench.master.requests.size(), 3u);
  EXPECT_EQ(bench.master.requests[0].slave, 1);
  EXPECT_EQ(bench.master.requests[1].slave, 5);
  EXPECT_EQ(bench.master.requests[2].slave, 5);
  EXPECT_EQ(bench.master.requests[2].result, 0);
  EXPECT_EQ(bench.controller.slaveAddress(), 5);
  EXPECT_EQ(bench.controller.saveCount(), 1);
}

TEST_F(CalibrationList, SaveAndCloseSendsOneStoreCommandCloseNone) {
  run([&](CalibrationListForm& form) {
    change(form, 0, "1");
    bench.master.clear();
    form.saveAndClose();
    EXPECT_EQ(form.result(), 1);
  });
  EXPECT_EQ(bench.master.texts(), Strings{"6:144=4660"});
  EXPECT_TRUE(bench.desktop.boxes.empty());

  run([&](CalibrationListForm& form) {
    change(form, 0, "2");
    bench.master.clear();
    form.close();
    EXPECT_EQ(form.result(), 1);
  });
  EXPECT_TRUE(bench.master.requests.empty());
  EXPECT_EQ(bench.controller.saveCount(), 1);
}

TEST_F(CalibrationList, AFailedStoreIsReportedByTheMainWindow) {
  run([&](CalibrationListForm& form) {
    bench.controller.faults().injectNext(sim::FaultKind::Exception, 1);
    form.saveAndClose();
  });
  ASSERT_EQ(bench.desktop.boxes.size(), 1u);
  EXPECT_EQ(bench.desktop.boxes[0].text, "Failed to save valve settings!");
  EXPECT_EQ(bench.desktop.boxes[0].caption, "Notice");
  EXPECT_EQ(bench.desktop.posted, (std::deque<int>{CMD_DISCONNECT, CMD_CONNECT}));
}

TEST_F(CalibrationList, TheSelectedRowOutlivesTheDialog) {
  run([](CalibrationListForm& form) { form.selectRow(42); });
  run([](CalibrationListForm& form) {
    EXPECT_EQ(form.selectedRow(), 42);
    form.selectRow(-1);
    form.selectRow(114);
    EXPECT_EQ(form.selectedRow(), 42);
  });
}

TEST_F(CalibrationList, AnUnreadableBlockShowsZerosAndSaysSo) {
  bench.faultOnRequest(4, sim::FaultKind::Exception);  // the probe, two blocks, block 3
  run([&](CalibrationListForm& form) {
    EXPECT_EQ(form.status(), "Registers 156 to 177 could not be read and show 0.");
    EXPECT_EQ(form.rows()[44].value, "0");
    change(form, 0, "3");
    EXPECT_EQ(bench.link.slaveAddress, 1);
    EXPECT_EQ(form.status(), "Registers 156 to 177 could not be read and show 0.");
  });
}

TEST_F(CalibrationList, NoAnswerOrNoPasswordOpensNothing) {
  bench.controller.faults().setSilent(true);
  calibrateValveCommand(bench.ctx);
  ASSERT_EQ(bench.desktop.boxes.size(), 1u);
  EXPECT_EQ(bench.desktop.boxes[0].text, "Valvescope is not connected to QX4.");
  EXPECT_EQ(bench.desktop.boxes[0].icon, Icon::Exclamation);
  EXPECT_TRUE(bench.desktop.formsRun.empty());

  bench.controller.faults().setSilent(false);
  bench.desktop.formScripts.clear();
  calibrateValveCommand(bench.ctx);
  EXPECT_EQ(bench.desktop.formsRun, std::vector<int>{112});
  EXPECT_TRUE(bench.desktop.posted.empty());
  EXPECT_FALSE(bench.desktop.timerRunning(POLL_TIMER));
}

}  // namespace
}  // namespace vs
