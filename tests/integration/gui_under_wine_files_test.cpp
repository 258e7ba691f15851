// valvescope.exe under Wine against qx4-sim on COM5, with files: the
// controller's settings uploaded into a data folder under Jörg, changed, and
// downloaded back after a backup; a download that cannot back up and is
// stopped between its blocks; the program's own log played back; and the
// traveler report printed and saved as PDF, first without any printer, then
// with one. Screenshots go to VS_SCREENSHOT_DIR.

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <thread>

#include "registers/settings_file.h"
#include "wine_gui_rig.h"

namespace vs::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kUpload = "Upload Settings";
constexpr const char* kDownload = "Download Settings";
constexpr const char* kChooser = "Select Data File";
constexpr const char* kPlayback = "Playback Dialog";
constexpr const char* kTraveler = "Traveler Report";
constexpr const char* kPdfPrinter = "Microsoft Print to PDF";
constexpr int kDefaultPressure = 123;

std::string fileText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The text a PostScript file from Wine's driver shows: it names each glyph
// ("/T glyphshow"); letters, digits and the few signs of the traveler page
// are read back.
std::string printedText(const std::filesystem::path& file) {
  static const std::map<std::string, char> signs = {
      {"space", ' '},  {"period", '.'},     {"colon", ':'},     {"numbersign", '#'},
      {"hyphen", '-'}, {"underscore", '_'}, {"slash", '/'},     {"zero", '0'},
      {"one", '1'},    {"two", '2'},        {"three", '3'},     {"four", '4'},
      {"five", '5'},   {"six", '6'},        {"seven", '7'},     {"eight", '8'},
      {"nine", '9'},   {"semicolon", ';'},  {"parenleft", '('}, {"parenright", ')'}};
  std::istringstream lines(fileText(file));
  std::string text;
  for (std::string line; std::getline(lines, line);) {
    const auto end = line.find(" glyphshow");
    if (line.empty() || line[0] != '/' || end == std::string::npos) continue;
    const std::string name = line.substr(1, end - 1);
    if (name.size() == 1) {
      text += name;
    } else if (const auto sign = signs.find(name); sign != signs.end()) {
      text += sign->second;
    }
  }
  return text;
}

// The newest file of the folder whose name starts with `prefix`.
std::filesystem::path newest(const std::filesystem::path& folder, const std::string& prefix) {
  std::filesystem::path found;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().filename().string().rfind(prefix, 0) != 0) continue;
    if (found.empty() || entry.last_write_time() > std::filesystem::last_write_time(found)) {
      found = entry.path();
    }
  }
  return found;
}

class WineFiles : public WineGui {
 protected:
  // A slider's position, range and selection, as the driver reads them.
  struct Slider {
    long position, minimum, maximum, first, last;
  };
  Slider slider() {
    std::istringstream in(drive({"slider", kPlayback, "1008"}));
    Slider s{};
    in >> s.position >> s.minimum >> s.maximum >> s.first >> s.last;
    return s;
  }
  // Until the topmost window of that caption (a message box above its
  // dialog) shows `part` among its texts; returns them all.
  std::string waitForText(const std::string& caption, const std::string& part) {
    std::string texts;
    for (auto end = std::chrono::steady_clock::now() + 120s; std::chrono::steady_clock::now() < end;
         std::this_thread::sleep_for(200ms)) {
      texts = drive({"text", caption, "0"});
      if (texts.find(part) != std::string::npos) return texts;
    }
    ADD_FAILURE() << caption << " never shows \"" << part << "\": " << texts;
    return texts;
  }
  // Chooses `name` in the file chooser of that caption.
  void choose(const std::string& chooser, const std::string& name) {
    drive({"wait", chooser});
    drive({"set", chooser, "1148", name});  // the file name
    drive({"click", chooser, "1"});
    drive({"gone", chooser});
  }
};

TEST_F(WineFiles, SettingsUploadedChangedAndDownloadedBackThenTheLogPlayedBack) {
  startSim();
  const std::string data = "users\\Jörg\\Valvescope files";
  std::filesystem::remove_all(driveC("users\\Jörg"));
  startProgram({"--port", "COM5", "--data-dir", "C:\\" + data});
  waitConnectedAndPolling();

  // Upload into the data folder: a name without a full stop gets ".dat".
  drive({"command", "40040"});
  drive({"wait", kUpload});
  drive({"click", kUpload, "1"});  // Create File
  choose(kChooser, "unit 20517");
  EXPECT_EQ(drive({"text", kUpload, "1033"}), "C:\\" + data + "\\unit 20517.dat");
  drive({"click", kUpload, "3"});
  waitUntil({"text", kUpload, "1034"}, "Valve settings have been successfully uploaded.");
  screenshot("upload_settings", kUpload);
  drive({"click", kUpload, "2"});
  drive({"gone", kUpload});
  const SettingsFileContent uploaded = readSettingsFile(driveC(data + "\\unit 20517.dat"));
  ASSERT_TRUE(uploaded.ok) << uploaded.error;
  EXPECT_EQ(uploaded.image[kDefaultPressure - kFirstSettingsRegister], 3500);
  waitUntil({"status", "3"}, kReceiving);

  // The controller changed meanwhile, and stores it.
  drive({"key", "F2"});
  drive({"wait", "Pressure Settings"});
  drive({"set", "Pressure Settings", "1005", "2.5"});
  drive({"click", "Pressure Settings", "1"});
  waitUntil({"text", "Pressure Settings", "1034"}, "Valve settings are successfully updated!");
  drive({"click", "Pressure Settings", "3"});
  drive({"gone", "Pressure Settings"});
  EXPECT_EQ(storedRegister(kDefaultPressure), 2500);
  waitUntil({"status", "3"}, kReceiving);

  // Downloaded back: the controller as it was is backed up first, named in
  // the status line; Close stores the download.
  drive({"command", "40039"});
  drive({"wait", kDownload});
  drive({"click", kDownload, "1"});  // Select File
  choose(kChooser, "unit 20517.dat");
  drive({"click", kDownload, "3"});
  std::string status;
  for (auto end = std::chrono::steady_clock::now() + 120s;
       status.rfind("Download is successfully completed.", 0) != 0 &&
       std::chrono::steady_clock::now() < end;
       std::this_thread::sleep_for(200ms)) {
    status = drive({"text", kDownload, "1036"});
  }
  EXPECT_EQ(status.rfind("Download is successfully completed.\r\nBackup made first: 20517_", 0), 0u)
      << status;
  screenshot("download_settings", kDownload);
  drive({"click", kDownload, "2"});
  drive({"gone", kDownload});
  EXPECT_EQ(storedRegister(kDefaultPressure), 3500);
  const auto backups = driveC(data + "\\backups\\20517");
  ASSERT_TRUE(std::filesystem::is_directory(backups));
  const std::filesystem::path backup = newest(backups, "20517_");
  EXPECT_NE(status.find(backup.filename().string()), std::string::npos) << status;
  const SettingsFileContent before = readSettingsFile(backup);
  ASSERT_TRUE(before.ok) << before.error;
  EXPECT_EQ(before.image[kDefaultPressure - kFirstSettingsRegister], 2500);
  waitUntil({"status", "3"}, kReceiving);

  // With the cable pulled no backup can be made and nothing is written;
  // Download Without Backup is offered beside the others, and Close stops
  // its blocks after the one in hand, storing nothing.
  drive({"command", "40039"});
  drive({"wait", kDownload});
  drive({"click", kDownload, "1"});
  choose(kChooser, "unit 20517.dat");
  EXPECT_EQ(drive({"controls", kDownload}).find("Download Without Backup"), std::string::npos);
  plugCable();
  drive({"click", kDownload, "3"});
  waitForText(kDownload, "No backup of the controller's settings could be made");
  EXPECT_NE(drive({"controls", kDownload}).find("1050 Button Download Without Backup"),
            std::string::npos);
  EXPECT_EQ(drive({"default", kDownload}), "1");  // Enter still selects a file
  screenshot("download_settings_no_backup", kDownload);
  drive({"click", kDownload, "1050"});
  waitUntil({"enabled", kDownload, "3"}, "0");  // waiting on the line: only Close is left
  drive({"click", kDownload, "2"});
  drive({"wait", "Notice"});
  EXPECT_NE(drive({"text", "Notice", "0"}).find("The download was stopped after"),
            std::string::npos);
  screenshot("download_settings_stopped", "Notice");
  drive({"click", "Notice", "1"});
  drive({"gone", kDownload});
  EXPECT_EQ(storedRegister(kDefaultPressure), 3500);
  plugCable();
  waitUntil({"status", "3"}, kReceiving);

  // The log the program has been writing all along, played back once it
  // holds a few seconds of polls.
  for (auto end = std::chrono::steady_clock::now() + 120s;
       logRecords(driveC(data)).size() < 40 && std::chrono::steady_clock::now() < end;
       std::this_thread::sleep_for(500ms)) {
  }
  drive({"command", "40015"});
  drive({"wait", kPlayback});
  waitUntil({"status", "3"}, "Communication Status: Playback Mode");
  const std::filesystem::path log = newest(driveC(data), "log_");
  ASSERT_FALSE(log.empty());
  const long records = static_cast<long>(std::filesystem::file_size(log) / LogRecord::kSize);
  ASSERT_GT(records, 10);
  EXPECT_EQ(drive({"enabled", kPlayback, "1026"}), "0");
  drive({"click", kPlayback, "1011"});  // Open File
  choose("Open", log.filename().string());
  EXPECT_EQ(drive({"text", kPlayback, "1010"}), "C:\\" + data + "\\" + log.filename().string());
  Slider s = slider();
  EXPECT_EQ(s.position, 0);
  EXPECT_EQ(s.maximum, records - 1);
  EXPECT_EQ(s.first, 0);
  EXPECT_GT(s.last, 0);
  EXPECT_EQ(drive({"enabled", kPlayback, "1026"}), "1");

  drive({"click", kPlayback, "1026"});  // Play
  for (auto end = std::chrono::steady_clock::now() + 120s;
       s.position < 5 && std::chrono::steady_clock::now() < end;
       std::this_thread::sleep_for(200ms)) {
    s = slider();
  }
  drive({"click", kPlayback, "1028"});  // ||
  std::this_thread::sleep_for(500ms);
  const long paused = slider().position;
  ASSERT_GE(paused, 5);
  ASSERT_LT(paused, records - 1) << "played to the end before the pause";
  std::this_thread::sleep_for(1s);
  EXPECT_EQ(slider().position, paused);
  drive({"press", kPlayback, "1008", "Right"});  // a step
  waitUntil({"slider", kPlayback, "1008"}, std::to_string(paused + 1) + " 0 " +
                                               std::to_string(records - 1) + " 0 " +
                                               std::to_string(s.last));
  screenshot("playback");
  drive({"click", kPlayback, "1029"});  // Stop: record 1
  EXPECT_EQ(slider().position, 1);
  drive({"click", kPlayback, "2"});
  drive({"gone", kPlayback});
  drive({"key", "F12"});
  waitUntil({"status", "3"}, kReceiving);

  drive({"key", "Escape"});
  EXPECT_EQ(programExit(), 0);
  EXPECT_EQ(strayBytes(), "OUT");
}

// Wine has no "Microsoft Print to PDF", nor any printer: both are said. Then
// a PostScript printer of Wine's stands in under that name, printing into a
// file, so that the page can be read back from what reached the printer.
TEST_F(WineFiles, TravelerReportSaysWhatIsMissingThenPrintsAndSavesThePage) {
  drive({"remove-printer", kPdfPrinter});
  startSim();
  const std::string data = "users\\Jörg\\Traveler";
  std::filesystem::remove_all(driveC("users\\Jörg"));
  startProgram({"--port", "COM5", "--data-dir", "C:\\" + data});
  waitConnectedAndPolling();

  const auto open = [this] {
    drive({"command", "40026"});
    drive({"wait", kTraveler});
    EXPECT_EQ(drive({"text", kTraveler, "1037"}), "20517");
    EXPECT_EQ(drive({"text", kTraveler, "1076"}), "QX4");
    drive({"set", kTraveler, "1041", "B-7731"});
    drive({"set", kTraveler, "1042", "Jörg Ames"});
    drive({"set", kTraveler, "1046", "Replaced the O2 sensor; free-air calibration passed."});
  };
  open();
  screenshot("traveler_report", kTraveler);

  drive({"click", kTraveler, "3"});  // Save as PDF…
  // The box has the dialog's caption and lies above it.
  waitForText(kTraveler, "\"Microsoft Print to PDF\", which this computer does not have.");
  screenshot("traveler_no_pdf_printer", kTraveler);
  drive({"close", kTraveler});
  waitForText(kTraveler, "Valve Serial Number");

  drive({"click", kTraveler, "1"});  // Print, with no printer at all
  drive({"wait", "Print"});
  EXPECT_NE(drive({"text", "Print", "0"}).find("you need to install a printer"), std::string::npos);
  screenshot("print_without_printer", "Print");
  drive({"click", "Print", "1"});
  drive({"gone", kTraveler});  // the dialog ends, as after any print

  const std::filesystem::path printed = driveC(data + "\\printed.ps");
  std::filesystem::create_directories(printed.parent_path());
  drive({"add-printer", kPdfPrinter, printed.string()});
  open();
  drive({"click", kTraveler, "3"});
  choose("Save as PDF", "C:\\" + data + "\\traveler 20517");
  waitForText(kTraveler, "The traveler report was saved as");
  screenshot("traveler_pdf_saved", kTraveler);
  drive({"close", kTraveler});
  const std::filesystem::path saved = driveC(data + "\\traveler 20517.pdf");
  const std::string savedText = fileText(saved);
  EXPECT_NE(savedText.find("%%Title: Valve Configuration Data"), std::string::npos);
  EXPECT_NE(savedText.find("%%Pages: 1\n"), std::string::npos);
  const std::string page = printedText(saved);
  for (const char* expected :
       {"QX4", "TRAVELER", "Valve Serial #:", "20517", "Board Serial #:", "B-7731", "Software Ver:",
        "4.62", "Pressure Settings", "Default Pressure:", "3.500", "Governor Settings", "Comments",
        "Replaced the O2 sensor; free-air calibration passed.", "Q.C Inspector:___"}) {
    EXPECT_NE(page.find(expected), std::string::npos) << expected << " in " << page;
  }

  waitForText(kTraveler, "Valve Serial Number");
  drive({"click", kTraveler, "1"});
  drive({"wait", "Print"});
  EXPECT_EQ(drive({"text", "Print", "1139"}), kPdfPrinter);  // the printer chosen
  screenshot("print_dialog", "Print");
  drive({"click", "Print", "1"});
  drive({"gone", kTraveler});
  EXPECT_NE(printedText(printed).find("TRAVELER"), std::string::npos);
  drive({"remove-printer", kPdfPrinter});

  drive({"key", "Escape"});
  EXPECT_EQ(programExit(), 0);
  EXPECT_EQ(strayBytes(), "OUT");
}

}  // namespace
}  // namespace vs::test
