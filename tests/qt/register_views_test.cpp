// The Qt views of the calibration list and of settings upload and download,
// each on a form bound to the simulated controller, with a picture of each.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <fstream>

#include "dialogs/calibration_list_form.h"
#include "dialogs/download_settings_form.h"
#include "dialogs/upload_settings_form.h"
#include "qt/view_harness.h"
#include "registers/settings_file.h"
#include "registers/settings_transfer.h"
#include "support/controller_bench.h"

namespace vs {
namespace {

using test::buttonNamed;
using test::runView;
using test::savePicture;
using test::statusLine;

// Answers the next file chooser with a path.
void chooseNextFile(const QString& path) {
  QTimer::singleShot(0, [path] {
    auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (chooser == nullptr) return;
    EXPECT_TRUE(test::acceptFileChooser(*chooser, path));
  });
}

TEST(RegisterViews, CalibrationListWritesToTheHighlightedRow) {
  test::ControllerBench bench;
  SettingsImage values{};
  const BlockTransfer read = readSettingsBlocks(bench.master, 1, values);
  bench.memory.calibrationListRow = 11;
  CalibrationListForm form(bench.ctx, values, read);
  const int result = runView(form, [&](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Calibration Settings");
    auto* list = dialog.findChild<QTreeWidget*>();
    ASSERT_EQ(list->topLevelItemCount(), 114);
    EXPECT_EQ(list->headerItem()->text(0), "Register");
    EXPECT_EQ(list->headerItem()->text(1), "Current Value");
    EXPECT_EQ(list->currentItem()->text(0), "default_pressure");

    // A click hands the row's value to the edit, selected for typing over.
    QTreeWidgetItem* row = list->topLevelItem(14);
    list->scrollToItem(row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(row).center());
    auto* edit = dialog.findChild<QLineEdit*>();
    EXPECT_EQ(edit->text().toInt(), values[14]);
    EXPECT_EQ(edit->selectedText(), edit->text());
    QTest::keyClicks(edit, "-5");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(row->text(1), "-5");

    // Moving with the keys moves the row a Change writes to.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(form.selectedRow(), 15);
    EXPECT_EQ(edit->text().toInt(), values[15]);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "99999");
    buttonNamed(dialog, "Change")->click();
    EXPECT_EQ(statusLine(dialog),
              "pressure_intgral must lie between -32768 and 65535. Nothing was written.");
    savePicture(dialog, "calibration_list");
    buttonNamed(dialog, "Save && Close")->click();
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(bench.get(126), -5);
  EXPECT_EQ(bench.controller.saveCount(), 1);
  EXPECT_EQ(bench.memory.calibrationListRow, 15);
}

TEST(RegisterViews, UploadWritesTheChosenFile) {
  test::ControllerBench bench;
  readSettingsBlocks(bench.master, 1, bench.memory.settingsImage);
  UploadSettingsForm form(bench.ctx);
  const QString chosen = QString::fromStdString((bench.data / "unit12").string());
  runView(form, [&](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Upload Settings");
    chooseNextFile(chosen);
    buttonNamed(dialog, "Create File")->click();
    EXPECT_EQ(dialog.findChild<QLineEdit*>()->text(), chosen + ".dat");
    buttonNamed(dialog, "Upload Settings")->click();
    EXPECT_EQ(statusLine(dialog), "Valve settings have been successfully uploaded.");
    savePicture(dialog, "upload_settings");
  });
  EXPECT_EQ(readSettingsFile((chosen + ".dat").toStdString()).image, bench.memory.settingsImage);
}

TEST(RegisterViews, DownloadShowsProgressAndRefusesAShortFile) {
  test::ControllerBench bench;
  const auto good = bench.data / "good.dat";
  const auto bad = bench.data / "short.dat";
  SettingsImage image{};
  readSettingsBlocks(bench.master, 1, image);
  image[0] = 1234;
  ASSERT_TRUE(writeSettingsFile(good, image));
  std::ofstream(bad) << "1 2 3 ";
  const std::int16_t before = bench.get(112);
  DownloadSettingsForm form(bench.ctx);
  runView(form, [&](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Download Settings");
    auto* progress = dialog.findChild<QProgressBar*>();
    EXPECT_FALSE(progress->isVisible());
    chooseNextFile(QString::fromStdString(bad.string()));
    buttonNamed(dialog, "Select File")->click();
    buttonNamed(dialog, "Download")->click();
    EXPECT_EQ(statusLine(dialog), "The file holds 3 of the 114 values. It cannot be downloaded.");
    savePicture(dialog, "download_settings_refused");
    EXPECT_EQ(bench.get(112), before);

    // No backup, no download: the other way on is a button of its own.
    chooseNextFile(QString::fromStdString(good.string()));
    buttonNamed(dialog, "Select File")->click();
    auto* withoutBackup = buttonNamed(dialog, "Download Without Backup");
    EXPECT_FALSE(withoutBackup->isVisible());
    bench.faultOnRequest(1, sim::FaultKind::Exception);
    buttonNamed(dialog, "Download")->click();
    EXPECT_TRUE(withoutBackup->isVisible());
    EXPECT_FALSE(static_cast<QPushButton*>(withoutBackup)->isDefault());
    EXPECT_EQ(statusLine(dialog).left(58),
              "No backup of the controller's settings could be made (read");
    savePicture(dialog, "download_settings_no_backup");
    EXPECT_EQ(bench.get(112), before);

    buttonNamed(dialog, "Download")->click();
    EXPECT_FALSE(withoutBackup->isVisible());
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(statusLine(dialog), "QX4 Viewer is downloading new settings. Please wait...");
    savePicture(dialog, "download_settings");
  });
  EXPECT_EQ(bench.get(112), 1234);
  EXPECT_EQ(bench.controller.saveCount(), 1);  // Close stores
}

}  // namespace
}  // namespace vs
