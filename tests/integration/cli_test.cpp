// valvescope-cli as a script runs it: a separate program, its output and its
// exit code, against its own simulated controller, against qx4-sim on a pty
// and against a simulator served by the test itself.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>
#include <thread>

#include "journal/csv_text.h"
#include "journal/journal_reader.h"
#include "link/serial_port.h"
#include "logging/log_files.h"
#include "registers/settings_file.h"
#include "sim/pty_simulator.h"
#include "support/child_process.h"
#include "support/controller_settings.h"
#include "support/full_disk.h"
#include "support/pty_pair.h"
#include "support/temp_dir.h"

namespace vs::test {
namespace {

using namespace std::chrono_literals;

// A run keeps its journal and backups out of the user's data folder.
ProcessOutcome cli(std::vector<std::string> arguments) {
  static const TempDir data;
  if (std::find(arguments.begin(), arguments.end(), "--data-dir") == arguments.end()) {
    arguments.insert(arguments.begin(), {"--data-dir", data.path().string()});
  }
  arguments.insert(arguments.begin(), VALVESCOPE_CLI_PATH);
  return runProcess(arguments, 120s);
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A failure is reported as exactly one line on standard error.
void expectOneErrorLine(const ProcessOutcome& run, const std::vector<std::string>& naming) {
  const auto lines = linesOf(run.err);
  ASSERT_EQ(lines.size(), 1u) << run.err;
  for (const auto& word : naming) EXPECT_NE(lines[0].find(word), std::string::npos) << lines[0];
}

TEST(CliOnItsOwnSimulator, PollPrintsTheTenNamedLiveValuesEveryTick) {
  const auto run = cli({"poll", "--simulate", "--count", "3"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const auto lines = linesOf(run.out);
  ASSERT_EQ(lines.size(), 3u) << run.out;
  const std::vector<std::string> names = {
      "O2 set point",         "O2 feedback", "Pressure feedback",  "Actuator output",
      "4-20 mA input",        "Mode",        "Pressure set point", "Pre-cat temperature",
      "Post-cat temperature", "Spare"};
  for (const auto& line : lines) {
    // "yyyy-mm-dd hh:mm:ss  NAME=VALUE, NAME=VALUE, ..."
    const auto values = line.substr(line.find("  ") + 2);
    std::vector<std::pair<std::string, std::string>> fields;
    std::size_t at = 0;
    for (std::size_t next; (next = values.find(", ", at)) != std::string::npos; at = next + 2) {
      const auto field = values.substr(at, next - at);
      fields.emplace_back(field.substr(0, field.find('=')), field.substr(field.find('=') + 1));
    }
    const auto last = values.substr(at);
    fields.emplace_back(last.substr(0, last.find('=')), last.substr(last.find('=') + 1));
    ASSERT_EQ(fields.size(), names.size()) << line;
    for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(fields[i].first, names[i]) << line;
    EXPECT_EQ(fields[0].second, "0.720 V");  // o2_sp 720 mV
    EXPECT_EQ(fields[5].second, "2 (MODE: A/F CONTROL)");
    EXPECT_NE(fields[2].second.find(" in. W.C."), std::string::npos);
    EXPECT_NE(fields[4].second.find(" mA"), std::string::npos);
    EXPECT_EQ(fields[9].second, "0");
  }
}

TEST(CliWithoutALine, RefusesAValueThatDoesNotFitWithoutTouchingThePort) {
  PtyPair line;
  for (const std::string value : {"70000", "-40000", "65536", "-32769", "12abc"}) {
    SCOPED_TRACE(value);
    const auto run = cli({"--port", line.path(), "write", "150", value});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    expectOneErrorLine(run, {value, "nothing was written"});
  }
  // Not a request, and no "OUT" either: the port was never opened.
  EXPECT_TRUE(line.drain(200ms).empty());
}

// A port that will not open: the line naming the port and the result, then
// one saying why and what to do.
void expectPortFailure(const ProcessOutcome& run, const std::string& first,
                       const std::string& because) {
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_EQ(run.out, "");
  const auto lines = linesOf(run.err);
  ASSERT_EQ(lines.size(), 2u) << run.err;
  EXPECT_EQ(lines[0], first);
  EXPECT_EQ(lines[1].rfind("valvescope-cli: " + because, 0), 0u) << lines[1];
}

TEST(CliWithoutALine, AMissingPortNamesThePortTheResultAndThePortsThereAre) {
  const auto run = cli({"--port", "/dev/valvescope-no-such-port", "read", "12"});
  expectPortFailure(run,
                    "valvescope-cli: /dev/valvescope-no-such-port: cannot open: "
                    "MODBUS_PORT_OPEN_FAILED (66)",
                    "There is no port /dev/valvescope-no-such-port");
}

TEST(CliWithoutALine, PortsListsEachPortWithWhetherItMayBeOpened) {
  const auto run = cli({"ports"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  for (const auto& line : linesOf(run.out)) {
    EXPECT_EQ(line.rfind("/dev/", 0), 0u) << line;
    EXPECT_TRUE(line.find("  may open") != std::string::npos ||
                line.find("  may not open: ") != std::string::npos)
        << line;
  }
}

TEST(CliWithoutALine, MistakesOnTheCommandLineAreUsageErrors) {
  const std::vector<std::vector<std::string>> mistakes = {
      {"frobnicate"},
      {"read"},
      {"read", "12", "126"},
      {"read", "65536", "2"},
      {"write", "0", "5"},
      {"--count", "5", "read", "12"},
      {"--stats", "read", "12"},
      {"--simulate", "--port", "/dev/ttyS0", "poll"},
      {"--slave", "0", "read", "12"},
      {"poll", "--count", "0"},
      {"--baud", "19200", "poll"},
  };
  for (const auto& arguments : mistakes) {
    std::string joined;
    for (const auto& a : arguments) joined += a + " ";
    SCOPED_TRACE(joined);
    const auto run = cli(arguments);
    EXPECT_EQ(run.exitCode, 2);
    expectOneErrorLine(run, {"valvescope-cli: "});
  }
  const auto help = cli({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("Exit codes:"), std::string::npos);
  EXPECT_EQ(cli({"--version"}).out.rfind("valvescope-cli ", 0), 0u);
}

TEST(CliWithoutALine, ExportsAndDescribesALogFile) {
  TempDir dir;
  std::vector<LogRecord> records = {sampleRecord(0), sampleRecord(1), sampleRecord(10)};
  writeBytes(dir / "log.log", encodeAll(records));

  const auto info = cli({"log-info", (dir / "log.log").string()});
  EXPECT_EQ(info.exitCode, 0) << info.err;
  EXPECT_NE(info.out.find("records: 3\n"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("gaps: 1\n"), std::string::npos) << info.out;

  const auto toStdout = cli({"export-csv", (dir / "log.log").string()});
  EXPECT_EQ(toStdout.exitCode, 0) << toStdout.err;
  EXPECT_EQ(linesOf(toStdout.out).size(), 4u);  // the header and three rows

  const auto toFile = cli({"export-csv", (dir / "log.log").string(), (dir / "log.csv").string()});
  EXPECT_EQ(toFile.exitCode, 0) << toFile.err;
  std::ifstream csv(dir / "log.csv", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(csv), {}), toStdout.out);

  for (const std::string command : {"export-csv", "log-info"}) {
    const auto missing = cli({command, (dir / "none.log").string()});
    EXPECT_EQ(missing.exitCode, 5);
    expectOneErrorLine(missing, {"none.log"});
  }
}

// Neither file is touched until its replacement is whole.
TEST(CliWithoutALine, UploadAndExportOntoAFullDiskKeepTheEarlierFiles) {
  TempDir dir;
  writeBytes(dir / "log.log", encodeAll({sampleRecord(0), sampleRecord(1)}));
  const std::vector<unsigned char> earlier = {'e', 'a', 'r', 'l', 'i', 'e', 'r'};
  writeBytes(dir / "unit.dat", earlier);
  writeBytes(dir / "log.csv", earlier);
  ProcessOutcome upload;
  ProcessOutcome exported;
  {
    const FullDisk full;  // the programs started meanwhile inherit it
    upload = cli({"--simulate", "upload", (dir / "unit.dat").string()});
    exported = cli({"export-csv", (dir / "log.log").string(), (dir / "log.csv").string()});
  }
  EXPECT_EQ(upload.exitCode, 5);
  expectOneErrorLine(upload, {"unit.dat", "cannot write"});
  EXPECT_EQ(exported.exitCode, 5);
  expectOneErrorLine(exported, {"log.csv", "cannot write"});
  EXPECT_EQ(readBytes(dir / "unit.dat"), earlier);
  EXPECT_EQ(readBytes(dir / "log.csv"), earlier);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);
}

// The simulator served by the test, so that what reaches it can be watched.
class CliOnAWatchedLine : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(simulator.start(), 0); }
  // Waits for the stray bytes to be settled (the line must fall quiet first).
  bool strayBytesBecome(const std::string& expected) {
    for (auto until = std::chrono::steady_clock::now() + 20s;
         std::chrono::steady_clock::now() < until; std::this_thread::sleep_for(20ms)) {
      if (controller.strayBytes() == expected) return true;
    }
    return false;
  }

  sim::SimulatedController controller;
  sim::PtySimulator simulator{controller, sim::LineOptions{9600, {}}};
};

TEST_F(CliOnAWatchedLine, EveryRunThatOpenedThePortLeavesWithOut) {
  EXPECT_EQ(cli({"--port", simulator.path(), "read", "28"}).out, "28 462\n");
  EXPECT_TRUE(strayBytesBecome("OUT")) << controller.strayBytes();

  // Also after a controller that never answered.
  controller.faults().setSilent(true);
  const auto silent = cli({"--port", simulator.path(), "read", "28"});
  EXPECT_EQ(silent.exitCode, 4);
  EXPECT_TRUE(strayBytesBecome("OUTOUT")) << controller.strayBytes();
}

TEST_F(CliOnAWatchedLine, APollingRunHoldsThePortAndLeavesCleanlyWhenTerminated) {
  BackgroundProcess poll({VALVESCOPE_CLI_PATH, "--port", simulator.path(), "poll"});
  ASSERT_NE(poll.firstLine(), "");  // polling, so the port is held
  SerialPort second;
  EXPECT_EQ(second.open(simulator.path()), SERIAL_ACCESS_DENIED);
  EXPECT_FALSE(second.isOpen());

  EXPECT_EQ(poll.stop(), "");
  EXPECT_EQ(poll.exitCode(), 0);
  EXPECT_TRUE(strayBytesBecome("OUT")) << controller.strayBytes();
  EXPECT_EQ(second.open(simulator.path()), SERIAL_OK);
}

TEST_F(CliOnAWatchedLine, AnExceptionReplyIsOneLineAndNotRetried) {
  const auto run = cli({"--port", simulator.path(), "read", "400", "2"});
  EXPECT_EQ(run.exitCode, 4);
  expectOneErrorLine(run, {simulator.path(), "MODBUS_EXCEPTION_ILLEGAL_DATA_ADDRESS (162)"});
}

TEST_F(CliOnAWatchedLine, DownloadAndDiffFailuresNameTheResultAndItsCode) {
  TempDir dir;
  const std::string file = (dir / "unit.dat").string();
  ASSERT_EQ(cli({"--port", simulator.path(), "upload", file}).exitCode, 0);
  for (const std::string command : {"diff", "download"}) {
    SCOPED_TRACE(command);
    // A download reads the firmware version and serial number, then its backup.
    if (command == "download") controller.faults().injectNext(sim::FaultKind::None, 2 + 5);
    controller.faults().injectNext(sim::FaultKind::Exception, 1);
    const auto run = cli({"--port", simulator.path(), command, file});
    EXPECT_EQ(run.exitCode, 4);
    const std::string verb = command == "diff" ? "reading" : "writing";
    EXPECT_EQ(run.err, "valvescope-cli: " + simulator.path() + ": " + verb +
                           " registers 112 to 133: MODBUS_EXCEPTION_SLAVE_DEVICE_FAILURE (164)\n");
  }
}

// The journal as the journal command prints it, oldest line first.
std::vector<JournalLine> journalOf(const TempDir& data, std::vector<std::string> filter = {}) {
  filter.insert(filter.begin(), {"--data-dir", data.path().string(), "journal"});
  const auto run = cli(filter);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  auto records = parseCsv(run.out);
  EXPECT_FALSE(records.empty());
  EXPECT_EQ(records.at(0), journalHeader());
  std::vector<JournalLine> lines;
  for (auto record = records.rbegin(); record + 1 != records.rend(); ++record) {
    lines.push_back(journalLineOf(*record).value());
  }
  return lines;
}

// Register, name, before, written and outcome of each line.
std::vector<std::string> registerColumns(const std::vector<JournalLine>& lines) {
  std::vector<std::string> texts;
  for (const auto& l : lines) {
    texts.push_back(l.reg + " " + l.name + " " + l.before + " " + l.written + " " + l.outcome);
  }
  return texts;
}

class CliJournal : public CliOnAWatchedLine {
 protected:
  ProcessOutcome onLine(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(),
                     {"--data-dir", data.path().string(), "--port", simulator.path()});
    return cli(arguments);
  }
  std::string value(int reg) { return std::to_string(controller.readRegister(reg)); }

  TempDir data;
};

TEST_F(CliJournal, EachWriteIsALineWhateverBecameOfIt) {
  const std::string was150 = value(150), was151 = value(151);
  EXPECT_EQ(onLine({"write", "150", "1234"}).exitCode, 0);
  // The controller refuses an address it could not answer at.
  const auto refused = onLine({"write", "135", "300"});
  EXPECT_EQ(refused.exitCode, 4);
  // The firmware, serial number and register reads go well; the write is lost.
  controller.faults().injectNext(sim::FaultKind::None, 3);
  controller.faults().injectNext(sim::FaultKind::NoReply, 4);
  const auto lost = onLine({"write", "151", "7"});
  EXPECT_EQ(lost.exitCode, 4);
  expectOneErrorLine(lost, {"writing register 151: MODBUS_REPLY_TIMEOUT (132)"});

  const auto lines = journalOf(data);
  EXPECT_EQ(registerColumns(lines),
            (std::vector<std::string>{
                "150 sp_min " + was150 + " 1234 ok",
                "135 modbus_address 1 300 refused (MODBUS_EXCEPTION_ILLEGAL_DATA_VALUE)",
                "151 sp_max " + was151 + " 7 MODBUS_REPLY_TIMEOUT (132)",
            }));
  for (const auto& line : lines) {
    EXPECT_EQ(line.port, simulator.path());
    EXPECT_EQ(line.deviceId, "1");
    EXPECT_EQ(line.serialNumber, value(REG_SERIAL_NUMBER));
    EXPECT_EQ(line.firmware, "4.62");
    EXPECT_EQ(line.action, "valvescope-cli write");
    EXPECT_TRUE(journalTime(line.time)) << line.time;
  }
  EXPECT_EQ(journalOf(data, {"--serial", value(REG_SERIAL_NUMBER), "--since", "2000-01-01"}).size(),
            3u);
  EXPECT_TRUE(journalOf(data, {"--serial", "-1"}).empty());
  EXPECT_TRUE(journalOf(data, {"--since", "2999-01-01"}).empty());
  EXPECT_EQ(cli({"journal", "--since", "2026-02-30x"}).exitCode, 2);
}

TEST_F(CliJournal, ADownloadBacksUpTheControllerFirstAndJournalsEveryRegister) {
  const SettingsImage before = settingsOf(controller);
  SettingsImage wanted = before;
  wanted[150 - kFirstSettingsRegister] = 1500;
  wanted[200 - kFirstSettingsRegister] = -3;
  ASSERT_TRUE(writeSettingsFile(data / "unit.dat", wanted));

  const auto download = onLine({"download", (data / "unit.dat").string()});
  ASSERT_EQ(download.exitCode, 0) << download.err;
  const auto out = linesOf(download.out);
  const std::string serial = value(REG_SERIAL_NUMBER);
  const std::string prefix = "backup of the controller's settings: ";
  ASSERT_EQ(out.at(0).rfind(prefix, 0), 0u) << download.out;
  const std::filesystem::path backup = out[0].substr(prefix.size());
  EXPECT_EQ(backup.parent_path(), data / "backups" / serial);
  EXPECT_EQ(readSettingsFile(backup).image, before);
  std::ifstream saved(backup, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), formatSettings(before));

  const auto lines = journalOf(data);
  ASSERT_EQ(lines.size(), 1u + kSettingsRegisterCount + 2u);
  EXPECT_EQ(lines[0].action, "Backup before download");
  EXPECT_EQ(lines[0].file, backup.string());
  EXPECT_EQ(lines[0].outcome, "ok");
  for (int i = 0; i < kSettingsRegisterCount; ++i) {
    const auto& line = lines[static_cast<std::size_t>(1 + i)];
    const auto p = static_cast<std::size_t>(i);
    EXPECT_EQ(line.reg + " " + line.before + " " + line.written + " " + line.outcome,
              std::to_string(registerOfPosition(i)) + " " + std::to_string(before[p]) + " " +
                  std::to_string(wanted[p]) + " ok");
    EXPECT_EQ(line.action, "valvescope-cli download");
    EXPECT_EQ(line.file, (data / "unit.dat").string());
  }
  EXPECT_EQ(registerColumns({lines.end() - 2, lines.end()}),
            (std::vector<std::string>{"12   4660 ok", "144 save_data_command  4660 ok"}));
}

TEST_F(CliJournal, ADownloadWhoseBackupCannotBeReadWritesNothing) {
  ASSERT_TRUE(writeSettingsFile(data / "unit.dat", settingsOf(controller)));
  controller.clearWriteLog();
  controller.faults().injectNext(sim::FaultKind::None, 2);
  controller.faults().injectNext(sim::FaultKind::Exception, 1);
  const auto refused = onLine({"download", (data / "unit.dat").string()});
  EXPECT_EQ(refused.exitCode, 4);
  EXPECT_EQ(refused.out, "");
  EXPECT_EQ(refused.err, "valvescope-cli: " + simulator.path() +
                             ": no backup of the controller's settings: reading registers 112 to "
                             "133: MODBUS_EXCEPTION_SLAVE_DEVICE_FAILURE (164); nothing was "
                             "written (--no-backup downloads without one)\n");
  EXPECT_TRUE(controller.writeLog().empty());
  EXPECT_FALSE(std::filesystem::exists(data / "backups"));

  const auto anyway = onLine({"--no-backup", "download", (data / "unit.dat").string()});
  EXPECT_EQ(anyway.exitCode, 0) << anyway.err;
  EXPECT_FALSE(controller.writeLog().empty());
  const auto lines = journalOf(data);
  ASSERT_EQ(lines.size(), 1u + kSettingsRegisterCount + 2u);
  EXPECT_EQ(lines[0].outcome, "refused (MODBUS_EXCEPTION_SLAVE_DEVICE_FAILURE)");
  EXPECT_EQ(lines[1].before, "");  // nothing read before this download
}

// A full disk, or a journal whose name a folder has taken (which stops root
// too), costs the journal line, not the write.
TEST_F(CliJournal, AJournalThatCannotBeWrittenStopsNoWriteAndIsSaid) {
  ProcessOutcome onFullDisk;
  {
    const FullDisk full;
    onFullDisk = onLine({"write", "150", "111"});
  }
  // The full disk left the journal empty.
  std::filesystem::remove(data / "journal.csv");
  std::filesystem::create_directory(data / "journal.csv");
  const ProcessOutcome onTakenName = onLine({"write", "151", "222"});
  for (const ProcessOutcome* run :
       std::array<const ProcessOutcome*, 2>{&onFullDisk, &onTakenName}) {
    EXPECT_EQ(run->exitCode, 0) << run->err;
    expectOneErrorLine(*run, {"Change journal not written: ", (data / "journal.csv").string()});
  }
  EXPECT_EQ(onFullDisk.out, "150 111 sp_min\n");
  EXPECT_EQ(onTakenName.out, "151 222 sp_max\n");
  EXPECT_EQ(value(150), "111");
  EXPECT_EQ(value(151), "222");
}

// qx4-sim, paced at 9600 baud, as a technician would start it.
class CliOnQx4Sim : public ::testing::Test {
 protected:
  void start(std::vector<std::string> options = {}) {
    options.insert(options.begin(), {QX4_SIM_PATH, "--baud", "9600"});
    sim = std::make_unique<BackgroundProcess>(options);
    port = sim->firstLine();
    ASSERT_FALSE(port.empty());
  }
  ProcessOutcome onPort(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--port", port});
    return cli(arguments);
  }

  std::unique_ptr<BackgroundProcess> sim;
  std::string port;
};

TEST_F(CliOnQx4Sim, WritesAndReadsBackRegisters) {
  start();
  EXPECT_EQ(onPort({"write", "150", "1234"}).out, "150 1234 sp_min\n");
  EXPECT_EQ(onPort({"read", "150"}).out, "150 1234 sp_min\n");
  // 65535 is the register's bit pattern of -1.
  EXPECT_EQ(onPort({"write", "150", "65535"}).out, "150 -1 sp_min\n");
  EXPECT_EQ(onPort({"write", "151", "-32768"}).out, "151 -32768 sp_max\n");
  const auto block = onPort({"read", "149", "3"});
  EXPECT_EQ(block.exitCode, 0) << block.err;
  EXPECT_EQ(block.out, "149 " + linesOf(onPort({"read", "149"}).out).at(0).substr(4) +
                           "\n150 -1 sp_min\n151 -32768 sp_max\n");
  EXPECT_EQ(onPort({"read", "12", "3"}).out.substr(0, 3), "12 ");  // below the map: no name
}

TEST_F(CliOnQx4Sim, ASilentControllerIsAReplyTimeout) {
  start({"--silent"});
  const auto run = onPort({"poll", "--count", "3"});
  EXPECT_EQ(run.exitCode, 4);
  EXPECT_EQ(run.out, "");
  expectOneErrorLine(run, {port, "MODBUS_REPLY_TIMEOUT (132)"});
}

TEST_F(CliOnQx4Sim, APortHeldByAnotherProgramIsInUseUntilReleased) {
  start();
  SerialPort holder;
  ASSERT_EQ(holder.open(port), SERIAL_OK);
  const auto refused = onPort({"read", "28"});
  // Found through /proc: this test, or the simulator that keeps the pty open.
  expectPortFailure(refused, "valvescope-cli: " + port + ": cannot open: MODBUS_PORT_IN_USE (67)",
                    port + " is in use by ");
  EXPECT_NE(refused.err.find(" (process "), std::string::npos) << refused.err;
  holder.close();
  EXPECT_EQ(onPort({"read", "28"}).exitCode, 0);
}

TEST_F(CliOnQx4Sim, TraceShowsEveryFrameDecodedAsItHappens) {
  start({"--fault", "wrong-crc:1"});
  const auto run = onPort({"--trace", "read", "134"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out.substr(0, 4), "134 ");
  const auto lines = linesOf(run.err);
  ASSERT_EQ(lines.size(), 4u) << run.err;
  // "2026-05-01 14:03:07.250113  TX  slave 1: ...  [01 03 00 85 00 01 95 E3]"
  const auto after = [&](std::size_t i) { return lines[i].substr(26); };
  EXPECT_EQ(after(0), "  TX  slave 1: read holding register 134 serial_number  [01 03 00 85 00 01 95 E3]");
  EXPECT_EQ(after(1).substr(0, 27), "  RX  CRC error (carries 0x");
  EXPECT_EQ(after(2), "  TX  slave 1: read holding register 134 serial_number (retry 1)  "
                      "[01 03 00 85 00 01 95 E3]");
  EXPECT_EQ(after(3).substr(0, 26), "  RX  slave 1 answered in ");
}

// Replies 60 ms late push each tick of four reads past 200 ms; the statistics
// say so and what to do.
TEST_F(CliOnQx4Sim, StatsShowTicksOverrunningWithSlowReplies) {
  start({"--reply-delay", "60"});
  const auto run = onPort({"poll", "--count", "3", "--stats"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const auto lines = linesOf(run.out);
  ASSERT_GE(lines.size(), 12u) << run.out;
  EXPECT_EQ(lines[3], "");
  std::string label;
  long requests = 0;
  long successes = 0;
  std::istringstream(lines[5]) >> label >> requests >> successes;
  EXPECT_EQ(label, "all");
  EXPECT_EQ(requests, 12);
  EXPECT_EQ(successes, 12);
  EXPECT_EQ(lines[10].rfind("poll ticks: 3, ", 0), 0u) << lines[10];
  EXPECT_NE(lines[10].find(", 3 over 200 ms"), std::string::npos) << lines[10];
  EXPECT_EQ(lines[11].rfind("3 of 3 poll ticks took longer than 200 ms", 0), 0u) << lines[11];

  // The same line without the delay keeps its period.
  sim.reset();
  start();
  const auto quick = onPort({"poll", "--count", "3", "--stats"});
  EXPECT_NE(quick.out.find(", 0 over 200 ms"), std::string::npos) << quick.out;
}

TEST_F(CliOnQx4Sim, SettingsGoToAFileAndBack) {
  start();
  TempDir dir;
  const std::string file = (dir / "unit.dat").string();
  const auto upload = onPort({"upload", file});
  ASSERT_EQ(upload.exitCode, 0) << upload.err;
  const SettingsFileContent saved = readSettingsFile(file);
  ASSERT_TRUE(saved.ok) << saved.error;
  EXPECT_EQ(onPort({"diff", file}).exitCode, 0);

  ASSERT_EQ(onPort({"write", "150", "999"}).exitCode, 0);
  const auto differs = onPort({"diff", file});
  EXPECT_EQ(differs.exitCode, 1);
  EXPECT_EQ(linesOf(differs.out).at(0),
            "150 sp_min: file " + std::to_string(saved.image[150 - 112]) + ", controller 999");

  const auto download = onPort({"download", file});
  EXPECT_EQ(download.exitCode, 0) << download.err;
  EXPECT_EQ(onPort({"diff", file}).exitCode, 0);

  // A file that is no settings image costs no traffic, nor does one that
  // would move the rest of the download to the broadcast address.
  std::ofstream(dir / "short.dat") << "1 2 3 ";
  const auto refused = onPort({"download", (dir / "short.dat").string()});
  EXPECT_EQ(refused.exitCode, 5);
  expectOneErrorLine(refused, {"short.dat"});
  SettingsImage broadcast = saved.image;
  broadcast[135 - 112] = 0;
  ASSERT_TRUE(writeSettingsFile(dir / "broadcast.dat", broadcast));
  const auto toAll = onPort({"download", (dir / "broadcast.dat").string()});
  EXPECT_EQ(toAll.exitCode, 5);
  expectOneErrorLine(toAll, {"broadcast.dat", "(modbus_address) is 0, not a Device ID"});
}

}  // namespace
}  // namespace vs::test
