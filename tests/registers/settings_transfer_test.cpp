#include "registers/settings_transfer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "dialogs/download_settings_form.h"
#include "dialogs/register_commands.h"
#include "dialogs/upload_settings_form.h"
#include "journal/journal_reader.h"
#include "journal/settings_backup.h"
#include "link/master_result.h"
#include "registers/settings_file.h"
#include "support/controller_bench.h"
#include "support/controller_settings.h"
#if !defined(_WIN32)
#include "support/full_disk.h"
#endif

namespace vs {
namespace {

using Strings = std::vector<std::string>;
using Download = DownloadSettingsForm;

const Strings kBlockReads = {"3:112x22", "3:134x22", "3:156x22", "3:178x22", "3:200x26"};
const Strings kBlockWrites = {"16:112x22", "16:134x22", "16:156x22", "16:178x22", "16:200x26"};

Strings operator+(Strings first, const Strings& then) {
  first.insert(first.end(), then.begin(), then.end());
  return first;
}

std::string readAll(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A settings image a controller at slave 1 can take: every register distinct.
SettingsImage distinctSettings() {
  SettingsImage image{};
  for (int i = 0; i < kSettingsRegisterCount; ++i)
    image[i] = static_cast<std::int16_t>(1000 - 7 * i);
  image[REG_MODBUS_ADDRESS - kFirstSettingsRegister] = 1;
  image[REG_SAVE_DATA_COMMAND - kFirstSettingsRegister] = 0;
  return image;
}

std::string firstValues(const SettingsImage& image, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += std::to_string(image[i]) + " ";
  return text;
}

SettingsImage controllerSettings(test::ControllerBench& bench) {
  SettingsImage image{};
  for (int i = 0; i < kSettingsRegisterCount; ++i) image[i] = bench.get(registerOfPosition(i));
  return image;
}

struct Upload : ::testing::Test {
  void run(const std::function<void(UploadSettingsForm&, test::ScriptedFormHost&)>& script) {
    EXPECT_TRUE(bench.runWith<UploadSettingsForm>(uploadSettingsCommand, script));
  }
  test::ControllerBench bench;
};

TEST_F(Upload, WritesTheControllersSettingsToTheChosenFile) {
  bench.set(112, 0);
  bench.set(113, -1);
  bench.set(114, 32767);
  const std::string chosen = (bench.data / "unit7").string();
  run([&](UploadSettingsForm& form, test::ScriptedFormHost& host) {
    host.fileChoices.push_back(chosen);
    form.createFile();
    EXPECT_EQ(form.path(), chosen + ".dat");
    ASSERT_EQ(host.fileRequests.size(), 1u);
    const FileDialogRequest& request = host.fileRequests[0];
    EXPECT_EQ(request.mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(request.title, "Select Data File");
    EXPECT_EQ(request.initialFolder, bench.data.path().string());
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].description, "Data Files (*.dat)");
    EXPECT_EQ(request.filters[0].pattern, "*.dat");
    EXPECT_EQ(request.filters[1].description, "All Files (*.*)");
    EXPECT_EQ(request.filters[1].pattern, "*.*");
    form.upload();
    EXPECT_EQ(form.status(), "Valve settings have been successfully uploaded.");
    EXPECT_FALSE(form.isEnded());
  });
  EXPECT_EQ(bench.master.texts(), kBlockReads);
  const std::string text = readAll(chosen + ".dat");
  EXPECT_EQ(text.substr(0, 11), "0 -1 32767 ");
  EXPECT_EQ(parseSettings(text).image, controllerSettings(bench));
  EXPECT_EQ(bench.desktop.calls.front(), "killTimer 5001");
  EXPECT_EQ(bench.desktop.posted, std::deque<int>{CMD_CONNECT});
}

TEST_F(Upload, AppendsTheExtensionOnlyToANameWithoutAFullStop) {
  run([&](UploadSettingsForm& form, test::ScriptedFormHost& host) {
    const struct {
      std::string chosen, path;
    } cases[] = {
        {"/home/tech/.local/share/ORB_QX4/unit", "/home/tech/.local/share/ORB_QX4/unit.dat"},
        {"/data/unit.v2", "/data/unit.v2"},
        {"C:\\ORB.QX4\\unit", "C:\\ORB.QX4\\unit.dat"},
        {"unit.dat", "unit.dat"},
    };
    for (const auto& c : cases) {
      host.fileChoices.push_back(c.chosen);
      form.createFile();
      EXPECT_EQ(form.path(), c.path);
    }
    form.createFile();  // cancelled: the path stays
    EXPECT_EQ(form.path(), "unit.dat");
  });
}

TEST_F(Upload, NeverCallsAFailedWriteASuccess) {
  run([&](UploadSettingsForm& form, test::ScriptedFormHost& host) {
    form.upload();
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "Please select existing file or create a new one.");
    EXPECT_EQ(host.boxes[0].caption, "Notice");
    EXPECT_EQ(host.boxes[0].icon, Icon::Exclamation);
    host.fileChoices.push_back((bench.data / "missing" / "unit.dat").string());
    form.createFile();
    form.upload();
    EXPECT_EQ(form.status(), "The settings file could not be written. Nothing was uploaded.");
  });
}

// The file choosers give UTF-8 on every system, and Windows names files in
// UTF-16: a folder under a user name like Jörg is found under that name.
TEST_F(Upload, AndDownloadFindAFolderNamedOutsideAsciiByItsName) {
  const std::filesystem::path folder = bench.data.path() / u8"J\u00f6rg";
  std::filesystem::create_directory(folder);
  const auto utf8 = [](const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
  };
  run([&](UploadSettingsForm& form, test::ScriptedFormHost& host) {
    host.fileChoices.push_back(utf8(folder / "unit7"));
    form.createFile();
    form.upload();
    EXPECT_EQ(form.status(), UploadSettingsForm::kUploaded);
  });
  ASSERT_TRUE(std::filesystem::exists(folder / "unit7.dat"));

  bench.memory.settingsImage = {};
  DownloadSettingsForm download(bench.ctx);
  test::ScriptedFormHost host(download);
  host.fileChoices.push_back(utf8(folder / "unit7.dat"));
  download.selectFile();
  EXPECT_EQ(download.status(), "");
  EXPECT_EQ(bench.memory.settingsImage, controllerSettings(bench));
}

#if !defined(_WIN32)  // a full disk is made with the POSIX file-size limit
TEST_F(Upload, AFullDiskKeepsTheEarlierFile) {
  const auto target = bench.data / "unit.dat";
  std::ofstream(target) << "earlier";
  run([&](UploadSettingsForm& form, test::ScriptedFormHost& host) {
    host.fileChoices.push_back(target.string());
    form.createFile();
    const test::FullDisk full;
    form.upload();
    EXPECT_EQ(form.status(), "The settings file could not be written. Nothing was uploaded.");
  });
  EXPECT_EQ(readAll(target), "earlier");
}
#endif

TEST_F(Upload, NeedsALinkAndFiveGoodReads) {
  bench.link.linkUp = false;
  uploadSettingsCommand(bench.ctx);
  ASSERT_EQ(bench.desktop.boxes.size(), 1u);
  EXPECT_EQ(bench.desktop.boxes[0].text, "Valvescope is not connected to QX4.");
  EXPECT_EQ(bench.desktop.boxes[0].icon, Icon::Exclamation);
  EXPECT_TRUE(bench.master.requests.empty());

  bench.link.linkUp = true;
  bench.faultOnRequest(5, sim::FaultKind::NoReply);
  uploadSettingsCommand(bench.ctx);
  EXPECT_EQ(bench.desktop.boxes.back().text, "Unable to read data.");
  EXPECT_TRUE(bench.desktop.formsRun.empty());
  EXPECT_EQ(bench.master.texts(), kBlockReads);  // all five, though the last failed
  const auto& calls = bench.desktop.calls;
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "post 40001"), 2);
}

struct DownloadDialog : ::testing::Test {
  DownloadDialog() { bench.link.chartZoomed = true; }

  std::string file(const std::string& name, const std::string& text) {
    const auto path = bench.data / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  void run(const std::function<void(Download&, test::ScriptedFormHost&)>& script) {
    EXPECT_TRUE(bench.runWith<Download>(downloadSettingsCommand, script));
  }

  // Chooses a file in the dialog.
  static void select(Download& form, test::ScriptedFormHost& host, const std::string& path) {
    host.fileChoices.push_back(path);
    form.selectFile();
  }

  // What the status line adds about the backup made before the download.
  static std::string backedUp(const Download& form) {
    return "\nBackup made first: " + form.backup().filename().string();
  }

  test::ControllerBench bench;
};

TEST_F(DownloadDialog, WritesTheFileWaitsNinetyNineTicksAndCompletes) {
  const SettingsImage image = distinctSettings();
  const std::string path = file("good.dat", formatSettings(image));
  run([&](Download& form, test::ScriptedFormHost& host) {
    EXPECT_FALSE(form.progressShown());
    select(form, host, path);
    EXPECT_EQ(host.fileRequests[0].mode, FileDialogRequest::Mode::Open);
    EXPECT_EQ(form.path(), path);
    EXPECT_EQ(form.status(), "");
    EXPECT_EQ(bench.memory.settingsImage, image);
    form.download();
    EXPECT_EQ(form.status(), "QX4 Viewer is downloading new settings. Please wait...");
    EXPECT_TRUE(form.progressShown());
    EXPECT_EQ(host.timers, (std::map<int, int>{{275, 50}}));
    EXPECT_EQ(bench.master.texts(), kBlockReads + kBlockWrites);  // the backup, then the file
    for (int tick = 1; tick < 99; ++tick) host.tick(275);
    EXPECT_EQ(form.progress(), 98);
    EXPECT_EQ(bench.master.texts().size(), 10u);
    host.tick(275);
    EXPECT_EQ(form.progress(), 100);
    EXPECT_EQ(form.status(), "Download is successfully completed." + backedUp(form));
    EXPECT_FALSE(host.timerRunning(275));
    form.close();
  });
  EXPECT_EQ(bench.master.texts(6), (Strings{"6:12=4660", "6:144=4660"}));
  EXPECT_EQ(bench.controller.downloadCommitCount(), 1);
  EXPECT_EQ(controllerSettings(bench), image);
  EXPECT_EQ(bench.controller.storedSettings(), image);
  EXPECT_EQ(bench.desktop.posted, std::deque<int>{CMD_CONNECT});
  EXPECT_FALSE(bench.link.chartZoomed);
}

TEST_F(DownloadDialog, ASilentControllerTimesOutWithoutWaitingForTheBar) {
  const std::string path = file("good.dat", formatSettings(distinctSettings()));
  const std::size_t firstWrite = bench.master.sent + kBlockReads.size() + 1;
  bench.master.beforeRequest = [&](std::size_t number) {
    if (number == firstWrite) bench.controller.faults().setSilent(true);
  };
  run([&](Download& form, test::ScriptedFormHost& host) {
    select(form, host, path);
    form.download();
    host.deliverPosted();
    EXPECT_EQ(form.status(), "Communication Time-Out. Please try again." + backedUp(form));
    EXPECT_EQ(form.progress(), 0);
    EXPECT_FALSE(host.timerRunning(275));
  });
  EXPECT_EQ(bench.master.texts(16), kBlockWrites);  // all five were tried
  EXPECT_EQ(bench.controller.downloadCommitCount(), 0);
}

// Closed while its blocks go out, the download stops after the block in
// hand: no more blocks, no completion and no save command, and the
// technician reads what the controller was left with.
TEST_F(DownloadDialog, ClosedBetweenBlocksItStopsStoresNothingAndSaysSo) {
  const std::string path = file("good.dat", formatSettings(distinctSettings()));
  Strings shown;
  run([&](Download& form, test::ScriptedFormHost& host) {
    select(form, host, path);
    // Six waits for the backup (five reads, the file), then the blocks.
    bench.desktop.whileWaiting = [&] {
      shown.push_back(form.status());
      if (shown.size() == 8) form.closeBox();
    };
    form.act([&] { form.download(); });
    bench.desktop.whileWaiting = nullptr;
    EXPECT_TRUE(form.isEnded());
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text,
              "The download was stopped after 2 of 5 blocks had gone out: the controller may hold "
              "part of the new settings, unsaved, until it restarts.\nDownload the file again to "
              "finish.");
  });
  EXPECT_EQ(bench.master.texts(), kBlockReads + Strings({"16:112x22", "16:134x22"}));
  EXPECT_EQ(shown[7],
            "QX4 Viewer is downloading new settings. Please wait...\nWriting registers 134 to 155 "
            "(block 2 of 5).");
  EXPECT_EQ(bench.controller.saveCount(), 0);
  EXPECT_EQ(bench.desktop.posted, std::deque<int>{CMD_CONNECT});
}

TEST_F(DownloadDialog, RefusesAnyFileThatIsNotAWholeSettingsImage) {
  const std::string whole = formatSettings(distinctSettings());
  const struct {
    std::string name, text, status;
  } cases[] = {
      {"short.dat", firstValues(distinctSettings(), 59),
       "The file holds 59 of the 114 values. It cannot be downloaded."},
      {"empty.dat", "", "The file holds 0 of the 114 values. It cannot be downloaded."},
      {"garbage.dat", "hello world",
       "Value 1 (stroke_gain) is not a whole number from -32768 to 32767. It cannot be "
       "downloaded."},
      {"range.dat", "1 2 40000 " + whole.substr(12),
       "Value 3 (o2_sp) is not a whole number from -32768 to 32767. It cannot be downloaded."},
      {"binary.dat", std::string("\0\1\2\3\xff", 5),
       "Value 1 (stroke_gain) is not a whole number from -32768 to 32767. It cannot be "
       "downloaded."},
      {"huge.dat", std::string(kMaxSettingsFileSize + 10, '7'),
       "The file is too large for a settings file. It cannot be downloaded."},
  };
  run([&](Download& form, test::ScriptedFormHost& host) {
    form.download();
    EXPECT_EQ(form.status(), "Please select a file.");
    for (const auto& c : cases) {
      select(form, host, file(c.name, c.text));
      EXPECT_EQ(form.status(), c.status) << c.name;
      form.download();
      EXPECT_EQ(form.status(), c.status) << c.name;
      EXPECT_FALSE(host.timerRunning(275));
    }
    // A missing file, and one chosen after a good one, are refused all the same.
    select(form, host, file("good.dat", whole));
    select(form, host, (bench.data / "none.dat").string());
    form.download();
    EXPECT_EQ(form.status(), "The file cannot be opened. It cannot be downloaded.");
    host.fileChoices.push_back(std::nullopt);
    form.selectFile();
    EXPECT_EQ(form.status(), "");
    form.close();
  });
  EXPECT_EQ(bench.master.texts(), Strings{"6:144=4660"});  // Close's store, nothing else
}

TEST_F(DownloadDialog, AFileWithAnotherAddressTakesTheRestOfTheDownloadThere) {
  SettingsImage image = distinctSettings();
  image[REG_MODBUS_ADDRESS - kFirstSettingsRegister] = 9;
  const std::string path = file("moved.dat", formatSettings(image));
  run([&](Download& form, test::ScriptedFormHost& host) {
    select(form, host, path);
    form.download();
    for (int tick = 0; tick < 99; ++tick) host.tick(275);
    EXPECT_EQ(form.status(), "Download is successfully completed." + backedUp(form));
    form.close();
  });
  EXPECT_EQ(bench.link.slaveAddress, 9);
  EXPECT_EQ(bench.controller.slaveAddress(), 9);
  EXPECT_EQ(bench.controller.storedSettings(), image);
}

// The download moves to the address the file writes; one no controller can
// take is refused before anything is sent, as any other unfit file is.
TEST_F(DownloadDialog, RefusesAFileWhoseDeviceIdNoControllerCanTake) {
  run([&](Download& form, test::ScriptedFormHost& host) {
    for (const std::int16_t address : {0, 300, -1}) {
      SettingsImage image = distinctSettings();
      image[REG_MODBUS_ADDRESS - kFirstSettingsRegister] = address;
      select(form, host, file("unit.dat", formatSettings(image)));
      const std::string status = "Value 24 (modbus_address) is " + std::to_string(address) +
                                 ", not a Device ID from 1 to 247. It cannot be downloaded.";
      EXPECT_EQ(form.status(), status);
      form.download();
      EXPECT_EQ(form.status(), status);
      EXPECT_FALSE(host.timerRunning(275));
    }
  });
  EXPECT_EQ(bench.master.texts(), Strings{"6:144=4660"});  // Close's store, nothing else
  EXPECT_EQ(bench.link.slaveAddress, 1);
}

// Device ID 0, what an empty "Device ID" in the port dialog gives, is the
// broadcast address: block writes there get no reply and would pass for a
// completed download.
TEST_F(DownloadDialog, RefusesDeviceIdZeroAndWritesNothing) {
  bench.link.slaveAddress = 0;
  const std::string path = file("good.dat", formatSettings(distinctSettings()));
  run([&](Download& form, test::ScriptedFormHost& host) {
    select(form, host, path);
    form.download();
    EXPECT_EQ(form.status(), Download::kBroadcastRefused);
    EXPECT_FALSE(form.progressShown());
    EXPECT_FALSE(host.timerRunning(275));
    form.close();
  });
  EXPECT_TRUE(bench.master.requests.empty());
  EXPECT_EQ(bench.controller.downloadCommitCount(), 0);
  EXPECT_EQ(bench.controller.saveCount(), 0);
}

// The backup is the controller as it was, in the settings file format, under
// its serial number in the data folder; the completion names it.
TEST_F(DownloadDialog, BacksUpTheControllerByteForByteBeforeWriting) {
  const SettingsImage before = test::settingsOf(bench.controller);
  const auto expected = bench.data / "expected.dat";
  ASSERT_TRUE(writeSettingsFile(expected, before));
  const std::string path = file("good.dat", formatSettings(distinctSettings()));
  std::filesystem::path backup;
  run([&](Download& form, test::ScriptedFormHost& host) {
    select(form, host, path);
    form.download();
    backup = form.backup();
    for (int tick = 0; tick < Download::kTicksToComplete; ++tick) host.tick(275);
    EXPECT_EQ(
        form.status(),
        "Download is successfully completed.\nBackup made first: 20517_2026-05-01_140307.dat");
    form.close();
  });
  EXPECT_EQ(backup, backupFolder(bench.data.path(), 20517) / "20517_2026-05-01_140307.dat");
  EXPECT_EQ(readAll(backup), readAll(expected));
  EXPECT_EQ(controllerSettings(bench), distinctSettings());
}

// Without a backup nothing is written: not at Download, not at a second
// Download; only Download Without Backup goes on, and says there is none.
TEST_F(DownloadDialog, WithoutABackupNothingIsWrittenUnlessTheUserSaysSo) {
  const SettingsImage before = test::settingsOf(bench.controller);
  const std::string path = file("good.dat", formatSettings(distinctSettings()));
  // The third block read of each backup is refused.
  bench.master.beforeRequest = [this](std::size_t) {
    const auto& sent = bench.master.texts();
    if (sent.size() >= 2 && sent[sent.size() - 2] == "3:112x22") {
      bench.controller.faults().injectNext(sim::FaultKind::Exception, 1);
    }
  };
  run([&](Download& form, test::ScriptedFormHost& host) {
    select(form, host, path);
    EXPECT_FALSE(form.withoutBackupOffered());
    form.downloadWithoutBackup();  // not offered yet: nothing happens
    EXPECT_TRUE(bench.master.requests.empty());
    for (int press = 0; press < 2; ++press) {
      form.download();
      EXPECT_EQ(form.status(),
                "No backup of the controller's settings could be made (reading registers 156 to "
                "177: MODBUS_EXCEPTION_SLAVE_DEVICE_FAILURE (164)). Nothing was written.\nPress "
                "Download to try again, or Download Without Backup.");
      EXPECT_TRUE(form.withoutBackupOffered());
      EXPECT_FALSE(form.progressShown());
      EXPECT_FALSE(host.timerRunning(275));
    }
    EXPECT_EQ(bench.master.texts(), kBlockReads + kBlockReads);
    EXPECT_EQ(test::settingsOf(bench.controller), before);

    form.downloadWithoutBackup();
    EXPECT_FALSE(form.withoutBackupOffered());
    for (int tick = 0; tick < Download::kTicksToComplete; ++tick) host.tick(275);
    EXPECT_EQ(form.status(), "Download is successfully completed.\nNo backup was made first.");
  });
  EXPECT_EQ(controllerSettings(bench), distinctSettings());
  auto journal = readJournal(journalPath(bench.data.path())).lines;
  const auto backups = std::count_if(journal.begin(), journal.end(), [](const JournalLine& line) {
    return line.action == kBackupAction;
  });
  EXPECT_EQ(backups, 2);
  EXPECT_EQ(journal.back().outcome, "refused (MODBUS_EXCEPTION_SLAVE_DEVICE_FAILURE)");
  EXPECT_EQ(journal.back().file, "");
  EXPECT_FALSE(std::filesystem::exists(bench.data / "backups"));
}

TEST_F(DownloadDialog, NeedsALink) {
  bench.link.linkUp = false;
  downloadSettingsCommand(bench.ctx);
  ASSERT_EQ(bench.desktop.boxes.size(), 1u);
  EXPECT_EQ(bench.desktop.boxes[0].text, "Valvescope is not connected to QX4");
  EXPECT_EQ(bench.desktop.boxes[0].caption, "Notice");
  EXPECT_TRUE(bench.desktop.posted.empty());
  EXPECT_TRUE(bench.desktop.calls.size() == 1u);

  bench.link.linkUp = true;
  bench.desktop.failingForms.insert(Download::kTemplateId);
  downloadSettingsCommand(bench.ctx);
  EXPECT_EQ(bench.desktop.boxes.back().text, "Error creating download dialog");
  EXPECT_EQ(bench.desktop.boxes.back().caption, "");
  EXPECT_EQ(bench.desktop.posted, std::deque<int>{CMD_CONNECT});
}

// The scriptable transfers of the command-line tool.
struct Transfers : ::testing::Test {
  test::ControllerBench bench;
  std::filesystem::path path = bench.data / "unit.dat";
};

TEST_F(Transfers, UploadThenDiffFindsNothing) {
  const TransferResult up = uploadSettings(bench.master, 1, path);
  ASSERT_TRUE(up.ok) << up.error;
  EXPECT_EQ(readSettingsFile(path).image, controllerSettings(bench));
  const TransferResult diff = diffSettings(bench.master, 1, path);
  EXPECT_TRUE(diff.ok);
  EXPECT_TRUE(diff.differences.empty());
}

TEST_F(Transfers, DiffListsEveryDifferingRegisterByName) {
  ASSERT_TRUE(uploadSettings(bench.master, 1, path).ok);
  const std::int16_t wasO2 = bench.get(114);
  bench.set(114, static_cast<std::int16_t>(wasO2 + 1));
  bench.set(225, -3);
  const TransferResult diff = diffSettings(bench.master, 1, path);
  ASSERT_TRUE(diff.ok);
  ASSERT_EQ(diff.differences.size(), 2u);
  EXPECT_EQ(describe(diff.differences[0]), "114 o2_sp: file " + std::to_string(wasO2) +
                                               ", controller " + std::to_string(wasO2 + 1));
  EXPECT_EQ(describe(diff.differences[1]).substr(0, 17), "225 ecu_instance:");
}

TEST_F(Transfers, DownloadWritesStoresAndReadsBack) {
  const SettingsImage image = distinctSettings();
  ASSERT_TRUE(writeSettingsFile(path, image));
  const TransferResult down = downloadSettings(bench.master, 1, path, std::chrono::milliseconds(0));
  ASSERT_TRUE(down.ok) << down.error;
  Strings expected = kBlockWrites;
  expected.insert(expected.end(), {"6:12=4660", "6:144=4660"});
  expected.insert(expected.end(), kBlockReads.begin(), kBlockReads.end());
  EXPECT_EQ(bench.master.texts(), expected);
  EXPECT_EQ(bench.controller.storedSettings(), image);
}

TEST_F(Transfers, DownloadRefusesABadFileAndReportsFailures) {
  std::ofstream(path) << "1 2 3";
  TransferResult down = downloadSettings(bench.master, 1, path, std::chrono::milliseconds(0));
  EXPECT_FALSE(down.ok);
  EXPECT_EQ(down.error,
            path.string() + ": The file holds 3 of the 114 values. Nothing was written.");
  EXPECT_TRUE(bench.master.requests.empty());

  ASSERT_TRUE(writeSettingsFile(path, distinctSettings()));
  bench.faultOnRequest(3, sim::FaultKind::Exception);
  down = downloadSettings(bench.master, 1, path, std::chrono::milliseconds(0));
  EXPECT_FALSE(down.ok);
  EXPECT_EQ(down.error,
            "writing registers 156 to 177: " + std::string(masterResultName(0xA4)) + " (164)");
  EXPECT_EQ(bench.master.texts(6), Strings{});  // no commit, no store
  EXPECT_EQ(bench.controller.saveCount(), 0);

  bench.controller.faults().setSilent(true);
  EXPECT_FALSE(uploadSettings(bench.master, 1, path).ok);
  EXPECT_FALSE(diffSettings(bench.master, 1, path).ok);
}

TEST_F(Transfers, DownloadReportsRegistersTheControllerDidNotKeep) {
  SettingsImage image = distinctSettings();
  image[REG_SAVE_DATA_COMMAND - kFirstSettingsRegister] = 77;  // a command, never compared
  // The calibration start code on a running engine: the controller refuses to
  // calibrate and clears the register again.
  image[REG_DO_SENSOR_CAL - kFirstSettingsRegister] = sim::kDefaultCalibrationStartCode;
  ASSERT_TRUE(writeSettingsFile(path, image));
  const TransferResult down = downloadSettings(bench.master, 1, path, std::chrono::milliseconds(0));
  EXPECT_FALSE(down.ok);
  EXPECT_EQ(down.error, "1 registers differ from the file after the download");
  ASSERT_EQ(down.differences.size(), 1u);
  EXPECT_EQ(describe(down.differences[0]), "181 do_sensor_cal: file 2736, controller 0");
}

}  // namespace
}  // namespace vs
