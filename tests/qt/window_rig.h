#pragma once

// The real program window, offscreen, on the simulated controller served at
// 9600 baud on a pty: one application for the run, a technician who answers
// every prompt, and a fixture that opens the window and counts its log records.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/password_gate_form.h"
#include "link/modbus_rtu_master.h"
#include "logging/clock.h"
#include "logging/log_record.h"
#include "qt/main_window.h"
#include "qt/password_gate_view.h"
#include "qt/view_harness.h"
#include "sim/pty_simulator.h"
#include "sim/simulated_controller.h"
#include "support/temp_dir.h"

namespace vs::test {

// One application for the whole run, gone before the program's own exit so
// that Qt's statics outlive it. Offscreen, its screen is a 1920 x 1080 desktop
// rather than the platform's small square, so that the window sizes itself as
// on a technician's laptop.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "valvescope-window-test";
    static char platformOption[] = "-platform";
    static std::string platform;
    static char* argv[] = {name, platformOption, nullptr, nullptr};
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen") {
      const auto screens = screenFolder_ / "screens.json";
      std::FILE* file = std::fopen(screens.c_str(), "w");
      ASSERT_NE(file, nullptr);
      std::fputs(R"({"screens": [{"name": "Desktop", "width": 1920, "height": 1080}]})", file);
      std::fclose(file);
      platform = "offscreen:configfile=" + screens.string();
      argv[2] = platform.data();
      argc = 3;
    }
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  TempDir screenFolder_;
  std::unique_ptr<QApplication> app_;
};

namespace {
[[maybe_unused]] const auto* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);
}  // namespace

inline bool waitFor(const std::function<bool()>& done, std::chrono::seconds limit) {
  return QTest::qWaitFor(done, static_cast<int>(std::chrono::milliseconds(limit).count()));
}

inline void save(const QPixmap& picture, const char* name) {
  const QString folder = QStringLiteral(VS_SCREENSHOT_DIR);
  ASSERT_TRUE(QDir().mkpath(folder));
  EXPECT_TRUE(picture.save(folder + "/" + name));
}

// Answers every message box as a technician would (Yes to the close question,
// OK otherwise) and keeps what they said; gives a service password to the
// password gate; answers a file chooser with `nextFile` (or cancels it when
// none is set). Other modal dialogs go to `dialog`. It looks on a timer of its
// own, so it also answers what a dialog under a test's script asks.
class ModalAnswerer {
 public:
  ModalAnswerer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
    timer_.start(20);
  }
  std::function<void(QDialog&)> dialog;
  std::vector<std::string> seen;  // "caption|text"
  QString nextFile;
  int passwordsGiven = 0;
  const char* gatePicture = nullptr;  // a picture of the first gate, when set
  // A picture of the first box whose "caption|text" starts with boxPictured.
  std::string boxPictured;
  const char* boxPicture = nullptr;

  bool saw(const std::string& shown) const {
    return std::find(seen.begin(), seen.end(), shown) != seen.end();
  }
  bool sawStartingWith(const std::string& start) const {
    return std::any_of(seen.begin(), seen.end(),
                       [&start](const std::string& shown) { return shown.starts_with(start); });
  }

 private:
  void look() {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      seen.push_back((box->windowTitle() + "|" + box->text()).toStdString());
      if (boxPicture != nullptr && seen.back().starts_with(boxPictured)) {
        save(box->grab(), boxPicture);
        boxPicture = nullptr;
      }
      const auto answer = box->button(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok;
      box->button(answer)->click();
    } else if (auto* chooser = qobject_cast<QFileDialog*>(modal)) {
      seen.push_back(("file chooser|" + chooser->windowTitle()).toStdString());
      if (nextFile.isEmpty()) {
        chooser->reject();
        return;
      }
      // Refused (the name did not take): tried again at the next look.
      if (test::acceptFileChooser(*chooser, nextFile)) nextFile.clear();
    } else if (auto* gate = dynamic_cast<PasswordGateView*>(modal)) {
      giveServicePassword(*gate);
    } else if (auto* other = dynamic_cast<QDialog*>(modal); other && dialog) {
      dialog(*other);
    }
  }

  void giveServicePassword(QDialog& gate) {
    auto* edit = gate.findChild<QLineEdit*>();
    if (edit == nullptr || &gate == answeredGate_) return;
    answeredGate_ = &gate;
    edit->setFocus();
    QTest::keyClicks(edit, QString::number(PasswordGateForm::kServicePasswords[0]));
    if (gatePicture != nullptr && passwordsGiven == 0) save(gate.grab(), gatePicture);
    ++passwordsGiven;
    // Clicked once this look is over: OK raises a message box of its own,
    // which this timer could not answer while still inside its own slot.
    for (auto* button : gate.findChildren<QAbstractButton*>()) {
      if (button->text() == "OK") QTimer::singleShot(0, button, &QAbstractButton::click);
    }
  }

  QTimer timer_;
  QPointer<QDialog> answeredGate_;
};

// The window on the simulated controller; the log records it has written so
// far, in every hour's file, so that a new hour does not count as a loss.
class WindowTest : public ::testing::Test {
 protected:
  ~WindowTest() override {
    for (const auto& shown : answerer.seen) std::printf("  message box: %s\n", shown.c_str());
  }

  void makeWindow(const std::string& port) {
    ShellSetup setup;
    setup.dataDirectory = data.path();
    setup.port = port;
    setup.simulated = true;
    setup.endProcess = [](int) {};
    window = std::make_unique<MainWindow>(master, clock, setup);
  }
  void open(const std::string& port) {
    makeWindow(port);
    window->resize(1600, 900);
    window->show();
    window->activateWindow();
    window->startUp();
    ASSERT_EQ(window->windowTitle().toStdString(), "QX4 Valvescope v.1.02  ___  Firmware v. 4.62");
  }
  std::int64_t records() {
    std::int64_t total = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(data.path(), error)) {
      if (entry.path().extension() != ".log") continue;
      const auto size = std::filesystem::file_size(entry.path(), error);
      if (!error) total += static_cast<std::int64_t>(size / LogRecord::kSize);
    }
    return total;
  }
  bool waitForRecords(std::int64_t count) {
    return waitFor([&] { return records() >= count; }, std::chrono::seconds(60));
  }
  void closeWindow() {
    window->close();
    EXPECT_TRUE(answerer.saw("Confirm Window Close|Are you sure you want to close window?"));
    EXPECT_TRUE(window->shell().ended());
  }

  sim::SimulatedController controller;
  sim::PtySimulator simulator{controller, sim::LineOptions{9600, {}}};
  ModbusRtuMaster master;
  SystemClock clock;
  TempDir data;
  ModalAnswerer answerer;
  std::unique_ptr<MainWindow> window;
};

}  // namespace vs::test
