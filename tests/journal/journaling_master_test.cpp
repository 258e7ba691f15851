#include "journal/journaling_master.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>

#include "journal/journal_reader.h"
#include "journal/settings_backup.h"
#include "link/master_result.h"
#include "registers/settings_file.h"
#include "sim/loopback_master.h"
#include "support/controller_settings.h"
#include "support/temp_dir.h"

namespace vs {
namespace {

using Strings = std::vector<std::string>;
constexpr LocalDateTime kNow{2026, 5, 1, 14, 3, 7};

// The simulated controller on the in-process line, behind the journaling
// master, with a clock that stands still.
struct JournaledLine : ::testing::Test {
  JournaledLine() { master.setPort("COM7"); }

  std::vector<JournalLine> lines() {
    auto reading = readJournal(journalPath(data.path()));
    EXPECT_TRUE(reading.ok) << reading.error;
    std::reverse(reading.lines.begin(), reading.lines.end());
    return reading.lines;
  }
  // "ACTION|DEVICE|REGISTER|NAME|BEFORE|WRITTEN|OUTCOME|FILE", oldest first.
  Strings summaries() {
    Strings texts;
    for (const JournalLine& l : lines()) {
      texts.push_back(l.action + "|" + l.deviceId + "|" + l.reg + "|" + l.name + "|" + l.before +
                      "|" + l.written + "|" + l.outcome + "|" + l.file);
    }
    return texts;
  }
  std::string value(int reg) { return std::to_string(controller.readRegister(reg)); }

  sim::SimulatedController controller;
  sim::LoopbackMaster line{controller};
  test::TempDir data;
  JournalingMaster master{line, ChangeJournal(journalPath(data.path())), [] { return kNow; }};
};

TEST_F(JournaledLine, EveryWriteIsALineWithTheValueBeforeAndTheOutcome) {
  // As the connection and the poll read them.
  std::int16_t read[4];
  ASSERT_EQ(master.readHoldingRegisters(1, REG_FIRMWARE_VERSION, read, 1), 0);
  ASSERT_EQ(master.readHoldingRegisters(1, REG_SERIAL_NUMBER, read, 1), 0);
  ASSERT_EQ(master.readHoldingRegisters(1, 150, read, 4), 0);
  const std::string was150 = value(150), was151 = value(151), was152 = value(152),
                    was153 = value(153);
  const std::int16_t pair[] = {5, 6};
  {
    const JournalAction action(master, "Pressure Settings");
    EXPECT_EQ(master.writeSingleRegister(1, 150, 77), 0);
    EXPECT_EQ(master.writeSingleRegister(1, 150, 78), 0);
    EXPECT_EQ(master.writeMultipleRegisters(1, 152, pair, 2), 0);
    {
      const JournalAction nested(master, "Download Settings", "unit.dat");
      controller.faults().injectNext(sim::FaultKind::Exception, 1);
      EXPECT_EQ(master.writeSingleRegister(1, 151, 9), MODBUS_EXCEPTION_BASE | 4);
      controller.faults().injectNext(sim::FaultKind::NoReply, 1);
      EXPECT_EQ(master.writeSingleRegister(1, 151, 10), MODBUS_REPLY_TIMEOUT);
      EXPECT_EQ(master.writeSingleRegister(1, 151, 11), 0);
    }
    EXPECT_EQ(master.writeSingleRegister(1, 401, 1), MODBUS_EXCEPTION_BASE | 2);
    EXPECT_EQ(master.writeSingleRegister(0, 152, 3), 0);
  }
  EXPECT_EQ(master.writeSingleRegister(1, 153, 4), 0);

  EXPECT_EQ(
      summaries(),
      (Strings{
          "Pressure Settings|1|150|sp_min|" + was150 + "|77|ok|",
          // Written since it was read: no value before is claimed.
          "Pressure Settings|1|150|sp_min||78|ok|",
          "Pressure Settings|1|152|" + std::string(RegisterMap[40]) + "|" + was152 + "|5|ok|",
          "Pressure Settings|1|153|zeroing|" + was153 + "|6|ok|",
          "Download Settings|1|151|sp_max|" + was151 +
              "|9|refused (MODBUS_EXCEPTION_SLAVE_DEVICE_FAILURE)|unit.dat",
          // A refused write changed nothing.
          "Download Settings|1|151|sp_max|" + was151 + "|10|MODBUS_REPLY_TIMEOUT (132)|unit.dat",
          // An unanswered one may have been carried out.
          "Download Settings|1|151|sp_max||11|ok|unit.dat",
          "Pressure Settings|1|401|||1|refused "
          "(MODBUS_EXCEPTION_ILLEGAL_DATA_ADDRESS)|",
          "Pressure Settings|0|152|" + std::string(RegisterMap[40]) +
              "||3|sent (broadcast, no reply)|",
          "|1|153|zeroing||4|ok|",
      }));
  const auto all = lines();
  EXPECT_EQ(all[0].time, "2026-05-01 14:03:07");
  EXPECT_EQ(all[0].port, "COM7");
  EXPECT_EQ(all[0].serialNumber, value(REG_SERIAL_NUMBER));
  EXPECT_EQ(all[0].firmware, "4.62");
  // Device ID 0 is every controller at once, none of them known; the
  // broadcast left the serial number of Device ID 1 as it was.
  EXPECT_EQ(all[8].serialNumber, "");
  EXPECT_EQ(all[9].serialNumber, value(REG_SERIAL_NUMBER));
}

// The controller knows only 3, 6 and 16 and refuses the rest, so each line
// shows what the request would have written.
TEST_F(JournaledLine, TheOtherWritingFunctionsAreJournaledRegisterByRegister) {
  const std::int32_t coils[] = {1, 0, 1};
  const std::int16_t values[] = {3, -4};
  std::int16_t out[2];
  const int refused = MODBUS_EXCEPTION_BASE | 1;
  EXPECT_EQ(master.writeSingleCoil(1, 7, 1), refused);
  EXPECT_EQ(master.writeMultipleCoils(1, 20, coils, 3), refused);
  EXPECT_EQ(master.maskWriteRegister(1, 150, 0x00FF, 0x1200), refused);
  EXPECT_EQ(master.readWriteMultipleRegisters(1, 112, out, 2, 160, values, 2), refused);
  EXPECT_EQ(master.writeMultipleFloats(1, 170, std::array{1.0f}.data(), 1), 0);
  const std::string no = "|refused (MODBUS_EXCEPTION_ILLEGAL_FUNCTION)|";
  EXPECT_EQ(summaries(), (Strings{
                             "|1|7|coil||1" + no,
                             "|1|20|coil||1" + no,
                             "|1|21|coil||0" + no,
                             "|1|22|coil||1" + no,
                             "|1|150|sp_min||AND 0x00FF OR 0x1200" + no,
                             "|1|160|" + std::string(RegisterMap[48]) + "||3" + no,
                             "|1|161|" + std::string(RegisterMap[49]) + "||-4" + no,
                             "|1|170|" + std::string(RegisterMap[58]) + "||" + value(170) + "|ok|",
                             "|1|171|" + std::string(RegisterMap[59]) + "||" + value(171) + "|ok|",
                         }));
}

TEST_F(JournaledLine, ABackupHoldsTheControllersSettingsAndReplacesNoEarlierOne) {
  const SettingsImage before = test::settingsOf(controller);
  const std::string serial = value(REG_SERIAL_NUMBER);
  const SettingsBackup first = backUpSettings(master, 1, data.path());
  const SettingsBackup second = backUpSettings(master, 1, data.path());  // within the second
  ASSERT_TRUE(first.made()) << first.error;
  ASSERT_TRUE(second.made()) << second.error;
  EXPECT_EQ(first.file, data / "backups" / serial / (serial + "_2026-05-01_140307.dat"));
  EXPECT_EQ(second.file.filename(), serial + "_2026-05-01_140307_2.dat");
  for (const auto& file : {first.file, second.file}) {
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), formatSettings(before));
  }
  EXPECT_EQ(summaries(), (Strings{"Backup before download|1|||||ok|" + first.file.string(),
                                  "Backup before download|1|||||ok|" + second.file.string()}));
  EXPECT_EQ(lines()[0].serialNumber, serial);
  EXPECT_TRUE(controller.writeLog().empty());
}

TEST_F(JournaledLine, ABackupThatCannotBeReadOrSavedIsNoneAndSaysWhy) {
  controller.faults().injectNext(sim::FaultKind::None, 2);
  controller.faults().injectNext(sim::FaultKind::Exception, 1);
  const SettingsBackup unread = backUpSettings(master, 1, data.path());
  EXPECT_FALSE(unread.made());
  EXPECT_EQ(unread.result, MODBUS_EXCEPTION_BASE | 4);
  EXPECT_EQ(unread.error,
            "reading registers 156 to 177: MODBUS_EXCEPTION_SLAVE_DEVICE_FAILURE (164)");
  EXPECT_FALSE(std::filesystem::exists(data / "backups"));

  std::ofstream(data / "backups") << "a file where the folder belongs";
  const SettingsBackup unsaved = backUpSettings(master, 1, data.path());
  EXPECT_FALSE(unsaved.made());
  EXPECT_EQ(unsaved.result, 0);
  EXPECT_NE(unsaved.error.find("cannot save a backup in " + (data / "backups").string()),
            std::string::npos)
      << unsaved.error;

  EXPECT_EQ(summaries(), (Strings{"Backup before download|1|||||refused "
                                  "(MODBUS_EXCEPTION_SLAVE_DEVICE_FAILURE)|",
                                  "Backup before download|1|||||not saved|"}));
  EXPECT_TRUE(controller.writeLog().empty());
}

}  // namespace
}  // namespace vs
