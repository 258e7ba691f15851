// The Qt view of the playback dialog on a real form and real log files, with
// a picture of it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDateEdit>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "logging/log_files.h"
#include "logging/playback_rig.h"
#include "qt/page_slider.h"
#include "qt/view_harness.h"

namespace vs {
namespace {

using test::answerNextBox;
using test::buttonNamed;

// What a file chooser offered before it was answered.
struct Offered {
  QString filter;  // the name filter selected
  QString folder;  // where it opened
  QString name;    // the file name field
};

// Answers the next file chooser with a path, then does what follows it.
void chooseNextFile(const QString& path, const std::function<void()>& then = {},
                    Offered* offered = nullptr) {
  QTimer::singleShot(0, [path, then, offered] {
    auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (chooser == nullptr) return;
    if (offered != nullptr) {
      auto* name = chooser->findChild<QLineEdit*>("fileNameEdit");
      *offered = {chooser->selectedNameFilter(), chooser->directory().absolutePath(),
                  name != nullptr ? name->text() : QString()};
      test::savePicture(*chooser, "playback_open_file");
    }
    EXPECT_TRUE(test::acceptFileChooser(*chooser, path));
    if (then) then();
  });
}

class PlaybackDialog : public ::testing::Test, protected test::PlaybackRig {
 protected:
  QString file(const std::string& name) { return QString::fromStdString((dir / name).string()); }
  // Runs what queued calls (the form's posted scroll messages) are waiting.
  static void deliverPosted() { QCoreApplication::processEvents(); }
};

TEST_F(PlaybackDialog, OpensAFileAndMovesThroughIt) {
  const auto records = test::writeSampleLog(dir / "log_2006_3_15_9.log", 25);
  const int result = test::runView(form, [&](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Playback Dialog");
    auto* date = dialog.findChild<QDateEdit*>();
    auto* slider = dialog.findChild<PageSlider*>();
    auto* path = dialog.findChild<QLineEdit*>();
    ASSERT_TRUE(date && slider && path);
    EXPECT_EQ(date->text(), "2006_3_5");
    EXPECT_FALSE(slider->isEnabled());
    for (const char* text : {"Play", "Stop", "<<", "||", ">>", "Export CSV"})
      EXPECT_FALSE(buttonNamed(dialog, text)->isEnabled()) << text;
    EXPECT_TRUE(buttonNamed(dialog, "Open File")->isEnabled());

    date->setDate(QDate(2006, 3, 15));
    EXPECT_EQ(form.date, (LocalDate{2006, 3, 15}));
    EXPECT_EQ(date->text(), "2006_3_15");

    // The chooser opens in the data folder on the day's log files.
    Offered offered;
    chooseNextFile(file("log_2006_3_15_9.log"), {}, &offered);
    buttonNamed(dialog, "Open File")->click();
    EXPECT_EQ(offered.filter, "Log Files (*2006_3_15*.log)");
    EXPECT_EQ(offered.folder, QString::fromStdString(dir.path().string()));
    EXPECT_EQ(offered.name, "2006_3_15");
    EXPECT_EQ(path->text(), file("log_2006_3_15_9.log"));
    EXPECT_TRUE(slider->isEnabled());
    EXPECT_EQ(slider->maximum(), 24);
    EXPECT_EQ(slider->value(), 0);
    EXPECT_EQ(slider->pageFirst(), 0);
    EXPECT_EQ(slider->pageLast(), 10);
    for (const char* text : {"Play", "Stop", "<<", "||", ">>", "Export CSV"})
      EXPECT_TRUE(buttonNamed(dialog, text)->isEnabled()) << text;

    // Dragging past the page loads the page of the record and shows it.
    slider->setValue(17);
    EXPECT_EQ(state.position, 17);
    EXPECT_EQ(slider->pageFirst(), 10);
    EXPECT_EQ(slider->pageLast(), 20);
    ASSERT_TRUE(state.showPosition());
    EXPECT_EQ(link.liveValues, records[17].values);
    test::savePicture(dialog, "playback_dialog");

    buttonNamed(dialog, "Stop")->click();
    deliverPosted();
    EXPECT_EQ(state.position, 1);
    EXPECT_EQ(slider->value(), 1);
    EXPECT_EQ(slider->pageFirst(), 0);

    buttonNamed(dialog, "Close")->click();
  });
  EXPECT_EQ(result, 1);
}

TEST_F(PlaybackDialog, SaysWhyAFileWithoutRecordsLeavesNothingToPlay) {
  test::writeBytes(dir / "log_2006_3_5_9.log", {});
  test::runView(form, [&](QDialog& dialog) {
    EXPECT_EQ(test::statusLine(dialog), "");
    chooseNextFile(file("log_2006_3_5_9.log"));
    buttonNamed(dialog, "Open File")->click();
    EXPECT_EQ(dialog.findChild<QLineEdit*>()->text(), file("log_2006_3_5_9.log"));
    EXPECT_EQ(test::statusLine(dialog), "The file holds no records.");
    EXPECT_FALSE(dialog.findChild<PageSlider*>()->isEnabled());
    EXPECT_FALSE(buttonNamed(dialog, "Play")->isEnabled());
    test::savePicture(dialog, "playback_no_records");
    buttonNamed(dialog, "Close")->click();
  });
}

TEST_F(PlaybackDialog, ExportCsvWritesTheFileOrSaysWhyNot) {
  test::writeSampleLog(dir / "log_2006_3_5_9.log", 25);
  test::runView(form, [&](QDialog& dialog) {
    chooseNextFile(file("log_2006_3_5_9.log"));
    buttonNamed(dialog, "Open File")->click();

    QString report;
    chooseNextFile(file("day.csv"), [&] { answerNextBox("playback_export_done", &report); });
    buttonNamed(dialog, "Export CSV")->click();
    EXPECT_EQ(report, "Export CSV|25 records written to\n" + file("day.csv"));
    const auto csv = test::readBytes(dir / "day.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 26);  // header and 25 rows

    chooseNextFile(file("gone/day.csv"), [&] { answerNextBox("playback_export_failed", &report); });
    buttonNamed(dialog, "Export CSV")->click();
    EXPECT_EQ(report, "Export CSV|The CSV file could not be written:\n" + file("gone/day.csv"));
  });
}

}  // namespace
}  // namespace vs
