// Playback in the real program window, offscreen: minutes recorded from the
// simulated controller by the shell's own poll step with a hand-driven clock,
// then the Playback command, the dialog opening that log, stepping and playing
// through it, exporting it, and the next Connect ending playback mode.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>

#include "forms/command_ids.h"
#include "logging/log_file_name.h"
#include "logging/log_file_reader.h"
#include "logging/log_files.h"
#include "qt/main_window.h"
#include "qt/page_slider.h"
#include "qt/playback_view.h"
#include "qt/view_harness.h"
#include "shell/shell_rig.h"

namespace vs {
namespace {

using namespace std::chrono_literals;
using test::buttonNamed;

constexpr int kRecordedPolls = 3 * 60 * 5;  // three minutes

// The shell polls the simulated controller five times a second while the
// test moves both clocks on by 200 ms per tick.
void record(test::ShellRig& rig, int polls) {
  const std::int64_t start = rig.clock.unix;
  rig.clock.set(toLocalDateTime(start), start);
  rig.tick(CLOCK_TIMER);  // opens the log of the hour
  for (int i = 0; i < polls; ++i) {
    rig.clock.set(toLocalDateTime(start + i / 5, i % 5 * 200), start + i / 5);
    rig.simClock.advance(200ms);
    ASSERT_TRUE(rig.tick(POLL_TIMER));
  }
  rig.command(CMD_DISCONNECT);  // closes the log and frees the line
}

std::vector<LogRecord> readAll(const std::filesystem::path& log) {
  LogFileReader reader(log);
  std::vector<LogRecord> records(static_cast<std::size_t>(reader.recordCount()));
  records.resize(reader.read(records.data(), records.size()));
  return records;
}

// Answers what the program asks while the test's own script runs: the next
// file chooser with a path, and message boxes with OK, keeping their texts.
class Answerer {
 public:
  Answerer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
    timer_.start(10);
  }
  QString nextFile;
  std::vector<std::string> boxes;  // "caption|text"

 private:
  void look() {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      boxes.push_back((box->windowTitle() + "|" + box->text()).toStdString());
      box->accept();
    } else if (auto* chooser = qobject_cast<QFileDialog*>(modal); chooser && !nextFile.isEmpty()) {
      if (test::acceptFileChooser(*chooser, nextFile)) nextFile.clear();
    }
  }
  QTimer timer_;
};

// Lets the window repaint what the dialog asked for.
void settle() { QTest::qWait(30); }

class PlaybackEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.connected();
    record(rig, kRecordedPolls);
    setup.dataDirectory = rig.data.path();
    setup.port = rig.simulator->path();
    setup.endProcess = [](int) {};
  }

  std::string statusText() {
    QStringList texts;
    for (auto* part : window->statusBar()->findChildren<QLabel*>()) texts << part->text();
    return texts.join("|").toStdString();
  }
  Shell& shell() { return window->shell(); }

  // What the technician does in the dialog.
  void playThrough(PlaybackView& dialog);

  QApplication& application = test::qtApplication();
  test::ShellRig rig;
  ModbusRtuMaster master;
  ShellSetup setup;
  std::unique_ptr<MainWindow> window;
  Answerer answerer;
  std::filesystem::path log;
  std::vector<LogRecord> records;
};

void PlaybackEndToEnd::playThrough(PlaybackView& dialog) {
  dialog.move(260, 350);  // over the bars, which repeat what the dials show
  EXPECT_TRUE(shell().link().playbackMode);
  settle();
  EXPECT_NE(statusText().find("Communication Status: Playback Mode"), std::string::npos)
      << statusText();

  // The chooser offers the day of the recording; the log is closed by now and
  // holds the recording and the polls of the live start.
  records = readAll(log);
  ASSERT_GE(records.size(), static_cast<std::size_t>(kRecordedPolls));
  const int last = static_cast<int>(records.size()) - 1;
  const LocalDateTime day = rig.clock.local;
  dialog.findChild<QDateEdit*>()->setDate(QDate(day.year, day.month, day.day));
  answerer.nextFile = QString::fromStdString(log.string());
  buttonNamed(dialog, "Open File")->click();
  auto* slider = dialog.findChild<PageSlider*>();
  ASSERT_EQ(slider->maximum(), last);

  // Every step shows its record on the instruments at the next repaint.
  const int capacity = shell().view().chart().Capacity();
  for (const int position : {0, 1, 2, capacity - 1, capacity + 5, last, 450}) {
    SCOPED_TRACE(position);
    slider->setValue(position);
    settle();
    EXPECT_EQ(shell().link().liveValues, records[static_cast<std::size_t>(position)].values);
    EXPECT_EQ(shell().view().chart().CursorSlot(), position - shell().playback().pageFirst() + 1);
  }

  // Fast forward runs on by itself, across pages, until paused.
  buttonNamed(dialog, ">>")->click();
  EXPECT_TRUE(QTest::qWaitFor([&] { return shell().playback().position > 450 + capacity; }, 20000));
  buttonNamed(dialog, "||")->click();
  settle();
  const std::int32_t paused = shell().playback().position;
  EXPECT_EQ(slider->value(), paused);
  EXPECT_EQ(shell().link().liveValues, records[static_cast<std::size_t>(paused)].values);
  EXPECT_LE(slider->pageFirst(), paused);
  EXPECT_GT(slider->pageLast(), paused);

  // The window as the technician sees it, with the dialog over it.
  QPixmap picture = window->grab();
  {
    QPainter painter(&picture);
    painter.drawPixmap(dialog.geometry().topLeft() - window->geometry().topLeft(), dialog.grab());
  }
  QDir().mkpath(VS_PICTURE_DIR);
  EXPECT_TRUE(picture.save(QString(VS_PICTURE_DIR) + "/playback_main_window.png"));

  answerer.nextFile = QString::fromStdString((rig.data / "recorded.csv").string());
  buttonNamed(dialog, "Export CSV")->click();
  const auto csv = test::readBytes(rig.data / "recorded.csv");
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), last + 2);  // header and every record
  EXPECT_EQ(answerer.boxes, std::vector<std::string>{"Export CSV|" + std::to_string(last + 1) +
                                                     " records written to\n" +
                                                     (rig.data / "recorded.csv").string()});
  buttonNamed(dialog, "Close")->click();
}

TEST_F(PlaybackEndToEnd, RecordedLogPlaysBackOnTheMainWindowAndExports) {
  log = rig.data / logFileName(rig.clock.local);
  window = std::make_unique<MainWindow>(master, rig.clock, setup);
  window->resize(1600, 900);
  window->move(0, 0);
  window->show();
  window->startUp();  // live on the simulated controller, as a technician starts
  ASSERT_TRUE(QTest::qWaitFor([&] { return shell().link().commStatus == 0; }, 20000));

  bool ran = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = dynamic_cast<PlaybackView*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    ran = true;
    playThrough(*dialog);
    if (dialog->isVisible()) dialog->close();
  });
  ASSERT_TRUE(test::commandWhenLineFree(shell(), CMD_PLAYBACK));
  ASSERT_TRUE(ran);

  // Closed, the window keeps the last record on show until the next Connect.
  const LiveValues shown = shell().link().liveValues;
  window->update();
  settle();
  EXPECT_TRUE(shell().link().playbackMode);
  EXPECT_EQ(shell().link().liveValues, shown);
  shell().onCommand(CMD_CONNECT);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !shell().link().playbackMode; }, 20000));
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return statusText().find("Receiving data") != std::string::npos; }, 20000))
      << statusText();
  shell().onCommand(CMD_DISCONNECT);
}

}  // namespace
}  // namespace vs
