// The real program window, offscreen, on the simulated controller behind a
// pty: it connects, polls, logs every poll, draws the panel, survives a pulled
// cable and a vanished port, and resumes with F12.

#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QTest>
#include <chrono>
#include <cstdio>

#include "forms/command_ids.h"
#include "qt/connection_view.h"
#include "qt/panel_widget.h"
#include "qt/port_selection_view.h"
#include "qt/window_rig.h"
#include "widgets/palette.h"

namespace vs {
namespace {

using test::save;
using test::waitFor;

class MainWindowTest : public test::WindowTest {};

TEST_F(MainWindowTest, PollsTheSimulatedControllerAndLogsEveryGoodPoll) {
  ASSERT_EQ(simulator.start(), 0);
  bool grabbedConnecting = false;
  answerer.dialog = [&](QDialog& dialog) {
    // Once the bar has moved a quarter of the way.
    const auto* bar = dialog.findChild<QProgressBar*>();
    if (dynamic_cast<ConnectionView*>(&dialog) != nullptr && !grabbedConnecting && bar != nullptr &&
        bar->value() >= 25) {
      grabbedConnecting = true;
      save(dialog.grab(), "connection_dialog.png");
    }
  };
  open(simulator.path());
  EXPECT_TRUE(grabbedConnecting);

  const auto before = master.successCount();
  ASSERT_TRUE(waitForRecords(40));
  save(window->grab(), "main_window_live.png");
  // Runs once the tick out on the line, if any, has its answer.
  window->shell().onCommand(CMD_DISCONNECT);
  EXPECT_TRUE(waitFor(
      [this] {
        return window->shell().statusText(3) ==
               "Communication Status: Not connected \u2014 press F12";
      },
      std::chrono::seconds(20)))
      << window->shell().statusText(3);
  save(window->grab(), "main_window_not_connected.png");
  const auto requests = master.successCount() - before;
  EXPECT_EQ(requests % 4, 0);
  EXPECT_EQ(records(), requests / 4);
  EXPECT_EQ(master.requestCount(), master.successCount());

  // The panel on screen holds the instruments: dial faces and bars on the
  // teal background.
  const QImage& frame = window->panel().frame();
  int face = 0;
  int background = 0;
  for (int y = 0; y < frame.height(); y += 2) {
    for (int x = 0; x < frame.width(); x += 2) {
      const QRgb pixel = frame.pixel(x, y);
      if (pixel == qRgb(kLightFace.red, kLightFace.green, kLightFace.blue)) ++face;
      if (pixel == qRgb(70, 140, 140)) ++background;
    }
  }
  const int samples = (frame.width() / 2) * (frame.height() / 2);
  EXPECT_GT(face, samples / 10);
  EXPECT_GT(background, samples / 4);

  window->shell().onCommand(CMD_ZOOM_IN);
  QTest::qWait(50);
  save(window->grab(), "main_window_zoomed.png");
  window->shell().onCommand(CMD_ZOOM_OUT);

  answerer.dialog = [](QDialog& dialog) {
    if (dynamic_cast<PortSelectionView*>(&dialog) == nullptr) return;
    save(dialog.grab(), "port_dialog.png");
    dialog.reject();
  };
  ASSERT_TRUE(test::commandWhenLineFree(window->shell(), CMD_COMM_PORT));

  closeWindow();
  EXPECT_TRUE(waitFor([&] { return controller.strayBytes() == "OUT"; }, std::chrono::seconds(10)));
}

// Where nothing maximizes it (no window manager), the window opens at its
// normal size rather than at what its empty panel asks for; it never shrinks
// below the size at which the panel stays legible.
TEST_F(MainWindowTest, OpensAtItsNormalSizeAndKeepsThePanelLegible) {
  ASSERT_EQ(simulator.start(), 0);
  makeWindow(simulator.path());
  window->show();
  EXPECT_EQ(window->size(), MainWindow::kNormalSize);
  window->resize(400, 300);
  EXPECT_EQ(window->size(), MainWindow::kMinimumSize);
  window->activateWindow();
  window->startUp();
  ASSERT_TRUE(waitForRecords(25));
  save(window->grab(), "main_window_minimum.png");
  closeWindow();
}

// The cable pulled mid-poll: the controller hears nothing. Each failed tick
// costs one block's time-outs and retries; the program says so and stays up.
TEST_F(MainWindowTest, APulledCableIsReportedAndF12ResumesPolling) {
  ASSERT_EQ(simulator.start(), 0);
  master.setTimeout(500);
  open(simulator.path());
  ASSERT_TRUE(waitForRecords(5));

  const auto requestsBefore = master.requestCount();
  controller.faults().setSilent(true);
  ASSERT_TRUE(waitFor([&] { return answerer.saw("Notice(B_9600)|Communication Time-out!\n"); },
                      std::chrono::seconds(60)));
  EXPECT_TRUE(answerer.saw("13Information|Communication time-out"));
  EXPECT_EQ(window->shell().statusText(3), "Communication Status: Not connected \u2014 press F12");
  // At most the blocks of the tick the cable went in, four failed ticks of
  // one block each and the reconnect's probe, every one with its retries.
  EXPECT_LE(master.requestCount() - requestsBefore, 3 + (4 + 1) * (1 + Shell::kRetries));
  const auto stalled = records();
  QTest::qWait(600);
  EXPECT_EQ(records(), stalled);
  EXPECT_TRUE(window->isVisible());

  controller.faults().setSilent(false);
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  QTest::keyClick(window.get(), Qt::Key_F12);
  EXPECT_TRUE(waitForRecords(stalled + 5));

  // Polling held by a cancelled port dialog says so until F12.
  answerer.dialog = [](QDialog& dialog) {
    if (dynamic_cast<PortSelectionView*>(&dialog) != nullptr) dialog.reject();
  };
  ASSERT_TRUE(test::commandWhenLineFree(window->shell(), CMD_COMM_PORT));
  EXPECT_EQ(window->shell().statusText(3),
            "Communication Status: Polling stopped \u2014 press F12");
  save(window->grab(), "main_window_polling_stopped.png");
  closeWindow();
}

// The cable pulled while polling: the window keeps answering as a desktop
// checks it. Its event loop turns while ticks wait out their time-outs on
// the line, its menu opens at any moment, and the status bar follows the link
// as it is lost and the reconnect fails. Pictures at 0, 2, 5, 10 and 17 s
// after the pull, each with the Action menu open.
TEST_F(MainWindowTest, StaysLiveWhileTheCableIsPulled) {
  ASSERT_EQ(simulator.start(), 0);
  open(simulator.path());
  ASSERT_TRUE(waitForRecords(5));

  int beatsWhileLineBusy = 0;
  QTimer heartbeat;
  QObject::connect(&heartbeat, &QTimer::timeout, [&] {
    if (window->shell().lineBusy()) ++beatsWhileLineBusy;
  });
  heartbeat.start(50);

  QMenu* menu = window->menuBar()->actions().front()->menu();
  controller.faults().setSilent(true);
  const auto pulled = std::chrono::steady_clock::now();
  std::vector<std::string> statuses;
  for (const int second : {0, 2, 5, 10, 17}) {
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return std::chrono::steady_clock::now() - pulled >= std::chrono::seconds(second); },
        30000));
    menu->popup(window->mapToGlobal(QPoint(8, window->menuBar()->height())));
    EXPECT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 5000)) << second << " s";
    QTest::qWait(30);
    QPixmap shot = window->grab();
    QPainter(&shot).drawPixmap(window->mapFromGlobal(menu->pos()), menu->grab());
    save(shot, ("cable_pulled_" + std::to_string(second) + "s.png").c_str());
    statuses.push_back(window->shell().statusText(3));
    std::printf("  %2d s: %s\n", second, statuses.back().c_str());
    menu->hide();
  }
  EXPECT_GT(beatsWhileLineBusy, 0);
  EXPECT_EQ(statuses[1], "Communication Status: Waiting for reply");
  EXPECT_TRUE(answerer.saw("13Information|Communication time-out"));
  closeWindow();
}

// The adapter unplugged: the port itself goes away. The program reports it,
// and once the adapter is back under the same name, F12 carries on.
TEST_F(MainWindowTest, AVanishedPortIsReportedAndF12ResumesOnceItIsBack) {
  ASSERT_EQ(simulator.start(), 0);
  const auto port = data.path() / "qx4-adapter";
  std::filesystem::create_symlink(simulator.path(), port);
  open(port.string());
  ASSERT_TRUE(waitForRecords(5));

  // The program's own message, then why: the port is not there.
  const std::string explained =
      "Notice(B_9600)|Error opening communication port!\n\nThere is no port " + port.string();
  answerer.boxPictured = explained;
  answerer.boxPicture = "port_not_there.png";
  simulator.stop();
  ASSERT_TRUE(waitFor([&] { return answerer.sawStartingWith(explained); },
                      std::chrono::seconds(60)));
  EXPECT_TRUE(answerer.saw("13Information|Communication time-out"));
  const auto stalled = records();
  EXPECT_TRUE(window->isVisible());

  ASSERT_EQ(simulator.start(), 0);
  std::filesystem::remove(port);
  std::filesystem::create_symlink(simulator.path(), port);
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  QTest::keyClick(window.get(), Qt::Key_F12);
  EXPECT_TRUE(waitForRecords(stalled + 5));
  closeWindow();
}

}  // namespace
}  // namespace vs
