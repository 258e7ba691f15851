// Every dialog that writes to the controller, run from its main-window command
// on the simulated controller as the program runs it (its requests on the link
// worker, through the journaling master): each register written is a line of
// the change journal, in the order written, named after the command, with the
// value the register held where the dialog had read it, the value written and
// the outcome the dialog saw, refusals and failures included.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "dialogs/calibration_list_form.h"
#include "dialogs/download_settings_form.h"
#include "dialogs/force_inputs_form.h"
#include "dialogs/free_air_calibration_form.h"
#include "dialogs/governor_settings_form.h"
#include "dialogs/maintenance_commands.h"
#include "dialogs/o2_schedule_form.h"
#include "dialogs/o2_sensor_settings_form.h"
#include "dialogs/password_gate_form.h"
#include "dialogs/pressure_settings_form.h"
#include "dialogs/register_commands.h"
#include "dialogs/settings_commands.h"
#include "dialogs/zero_transducer_form.h"
#include "forms/command_frame.h"
#include "journal/journal_reader.h"
#include "journal/settings_backup.h"
#include "link/master_result.h"
#include "registers/settings_file.h"
#include "support/controller_bench.h"
#include "support/controller_settings.h"

namespace vs {
namespace {

using Strings = std::vector<std::string>;
using Host = test::ScriptedFormHost;

sim::ControllerOptions stoppedEngine() {
  sim::ControllerOptions options;
  options.mode = sim::kModeStopped;
  return options;
}

struct JournaledWrites : ::testing::Test {
  JournaledWrites() : bench(stoppedEngine()) {
    bench.desktop.onForm(PasswordGateForm::kTemplateId, [](Form& form, Host&) {
      auto& gate = dynamic_cast<PasswordGateForm&>(form);
      gate.setPassword("2604");
      gate.ok();
    });
    // What the connection reads: firmware, and the limits with the serial number.
    std::int16_t read[4];
    readRegisters(bench.ctx, REG_FIRMWARE_VERSION, read, 2);
    readRegisters(bench.ctx, REG_MAX_PRESSURE, read, 4);
  }

  std::vector<JournalLine> journal() {
    auto reading = readJournal(journalPath(bench.data.path()));
    EXPECT_TRUE(reading.ok) << reading.error;
    std::reverse(reading.lines.begin(), reading.lines.end());
    return reading.lines;
  }

  // Runs a command whose dialog `script` works, and returns the lines it
  // added, once they have been checked against the requests that went out:
  // one line per register written, under `action`, with the outcome of its
  // request and, as before, what the register was last read as (unless
  // written since); other lines only where `events` allows them.
  template <typename FormType, typename Script>
  std::vector<JournalLine> run(const std::string& action, void (*command)(ShellContext&),
                               Script script, const Strings& events = {}) {
    const std::size_t linesBefore = journal().size();
    const std::size_t requestsBefore = bench.master.requests.size();
    EXPECT_TRUE(bench.runWith<FormType>(command, script)) << action;
    std::vector<JournalLine> added = journal();
    added.erase(added.begin(), added.begin() + static_cast<std::ptrdiff_t>(linesBefore));

    Strings expected;
    const auto& requests = bench.master.requests;
    for (std::size_t i = requestsBefore; i < requests.size(); ++i) {
      const test::RecordedRequest& r = requests[i];
      if (r.function == 3) continue;
      for (int n = 0; n < r.count; ++n) {
        const int reg = r.firstRegister + n;
        expected.push_back(std::to_string(reg) + "|" + lastRead(reg, i) + "|" +
                           std::to_string(r.values[static_cast<std::size_t>(n)]) + "|" +
                           journalOutcome(r.slave, r.result));
      }
    }
    Strings journaled;
    for (const JournalLine& line : added) {
      if (line.reg.empty()) {
        EXPECT_NE(std::find(events.begin(), events.end(), line.action), events.end())
            << line.action;
        continue;
      }
      EXPECT_EQ(line.action, action);
      EXPECT_EQ(line.port, "COM1");
      EXPECT_EQ(line.deviceId, "1");
      EXPECT_EQ(line.serialNumber, "20517");
      EXPECT_EQ(line.firmware, "4.62");
      journaled.push_back(line.reg + "|" + line.before + "|" + line.written + "|" + line.outcome);
    }
    EXPECT_EQ(journaled, expected) << action;
    return added;
  }

  // The value a successful read brought for the register before request
  // `until`, unless a write not refused has gone out to it since.
  std::string lastRead(int reg, std::size_t until) const {
    std::string value;
    for (std::size_t i = 0; i < until; ++i) {
      const test::RecordedRequest& r = bench.master.requests[i];
      if (reg < r.firstRegister || reg >= r.firstRegister + r.count) continue;
      if (r.function == 3 && r.result == 0) {
        value = std::to_string(r.values[static_cast<std::size_t>(reg - r.firstRegister)]);
      } else if (r.function != 3 && !isExceptionReply(r.result)) {
        value.clear();
      }
    }
    return value;
  }

  // Fault for the n-th request from now, for each of the pairs.
  void faults(std::map<std::size_t, sim::FaultKind> plan) {
    const std::size_t base = bench.master.sent;
    bench.master.beforeRequest = [this, base, plan](std::size_t number) {
      if (const auto found = plan.find(number - base); found != plan.end()) {
        bench.controller.faults().injectNext(found->second, 1);
      }
    };
  }

  test::ControllerBench bench;
};

TEST_F(JournaledWrites, EveryWritingDialogLeavesItsLinesWithValuesBeforeAndOutcomes) {
  using P = PressureSettingsForm;
  bench.set(123, 2500);
  const auto pressure = run<P>("Pressure Settings", pressureSettingsCommand, [&](P& form) {
    form.setText(P::DEFAULT_PRESSURE, "3.25");
    form.change();
    // The controller refuses the first write of the next Change, and the
    // second one goes unanswered.
    faults({{1, sim::FaultKind::Exception}, {2, sim::FaultKind::NoReply}});
    form.setText(P::DEFAULT_PRESSURE, "3.5");
    form.change();
    EXPECT_EQ(form.status(), P::kUpdateFailed);
    bench.master.beforeRequest = nullptr;
    form.saveAndClose();
  });
  // Six writes a Change, then the store; read values as before (123 read at
  // 2500 and written since, so not claimed by the second Change).
  ASSERT_EQ(pressure.size(), 13u);
  EXPECT_EQ(pressure[4].reg + "|" + pressure[4].before + "|" + pressure[4].written, "123|2500|3250");
  EXPECT_EQ(pressure[6].outcome, "refused (MODBUS_EXCEPTION_SLAVE_DEVICE_FAILURE)");
  EXPECT_EQ(pressure[7].outcome, "MODBUS_REPLY_TIMEOUT (132)");
  EXPECT_EQ(pressure[10].reg + "|" + pressure[10].before, "123|");
  EXPECT_EQ(pressure[12].reg + "|" + pressure[12].written + "|" + pressure[12].outcome,
            "144|4660|ok");

  using O2 = O2SensorSettingsForm;
  run<O2>("O2 Sensor Settings", o2SensorSettingsCommand, [](O2& form) {
    form.setText(O2::SET_POINT, "0.7");
    form.change();
    form.close();
  });

  run<CalibrationListForm>("Calibrate Valve", calibrateValveCommand,
                           [](CalibrationListForm& form) {
                             form.selectRow(14);
                             form.editValue("-5");
                             form.change();
                             form.saveAndClose();
                           });

  run<ZeroTransducerForm>("Zero Transducer", zeroTransducerCommand, [](ZeroTransducerForm& form) {
    form.zero();
    form.close();
  });

  run<ForceInputsForm>("Force Digital Inputs", forceDigitalInputsCommand,
                       [](ForceInputsForm& form) {
                         form.setValueText(0, "1");
                         form.changeStatus();
                       });
  run<ForceInputsForm>("Force Digital Inputs", forceDigitalInputsCommand,
                       [](ForceInputsForm& form) { form.releaseAll(); });

  run<FreeAirCalibrationForm>("O2 Free-air Calibration", freeAirCalibrationCommand,
                              [](FreeAirCalibrationForm& form) {
                                form.start();
                                form.close();
                              });

  run<O2ScheduleForm>("Dynamic O2 Set-point Schedule", o2ScheduleCommand,
                      [](O2ScheduleForm& form) {
                        form.setText(O2ScheduleForm::pressureEdit(2), "3.25");
                        form.press(1);
                        form.press(O2ScheduleForm::ENABLE_DISABLE);
                      });

  using G = GovernorSettingsForm;
  run<G>("Governor Settings", governorSettingsCommand, [](G& form) {
    form.setText(G::SPEED_SET_POINT, "1500");
    form.press(1);
    form.saveAndClose();
  });

  SettingsImage image = test::settingsOf(bench.controller);
  image[0] = 1234;
  const auto file = bench.data / "unit.dat";
  ASSERT_TRUE(writeSettingsFile(file, image));
  const auto download = run<DownloadSettingsForm>(
      "Download Settings", downloadSettingsCommand,
      [&](DownloadSettingsForm& form, Host& host) {
        host.fileChoices.push_back(file.string());
        form.selectFile();
        form.download();
        for (int tick = 0; tick < DownloadSettingsForm::kTicksToComplete; ++tick) host.tick(275);
        form.close();
      },
      {kBackupAction});
  // The backup, the 114 registers, the commit and the store, all naming the
  // file downloaded.
  ASSERT_EQ(download.size(), 117u);
  EXPECT_EQ(download[0].action, kBackupAction);
  EXPECT_EQ(download[0].outcome, "ok");
  for (std::size_t i = 1; i < download.size(); ++i) EXPECT_EQ(download[i].file, file.string());
  EXPECT_EQ(download[115].reg + "=" + download[115].written, "12=4660");
  EXPECT_EQ(download[116].reg + "=" + download[116].written, "144=4660");
}

}  // namespace
}  // namespace vs
