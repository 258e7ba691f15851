// The real program window, offscreen, on the simulator at 9600 baud with
// replies 60 ms late and faults injected: the status bar advises, and the
// Line Monitor, opened from the Tools menu beside the panel, counts the
// overruns and the faults, shows the frames live, keeps the faulty ones
// alone, and saves what it shows.

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <fstream>
#include <sstream>

#include "qt/line_monitor_view.h"
#include "qt/window_rig.h"

namespace vs {
namespace {

using test::save;
using test::waitFor;

class LineMonitorWindow : public test::WindowTest {
 protected:
  QAction* toolsItem(const QString& text) {
    for (QAction* menu : window->menuBar()->actions()) {
      if (menu->text() != "Tools") continue;
      for (QAction* item : menu->menu()->actions()) {
        if (item->text() == text) return item;
      }
    }
    return nullptr;
  }
  // A cell of the statistics table: row 0 is the whole link.
  int count(LineMonitorView& view, int row, const char* column) {
    auto* table = view.findChild<QTableWidget*>();
    for (int c = 0; c < table->columnCount(); ++c) {
      if (table->horizontalHeaderItem(c)->text() == column) {
        return table->item(row, c) ? table->item(row, c)->text().toInt() : -1;
      }
    }
    return -1;
  }
  QPushButton* button(QWidget& view, const QString& text) {
    for (auto* found : view.findChildren<QPushButton*>()) {
      if (found->text() == text) return found;
    }
    return nullptr;
  }
};

TEST_F(LineMonitorWindow, CountsOverrunsAndFaultsLiveAndSavesTheFaultyFrames) {
  ASSERT_EQ(simulator.start(), 0);
  open(simulator.path());
  window->resize(1366, 740);
  ASSERT_TRUE(waitForRecords(3));

  sim::FaultSettings slow = controller.faults().settings();
  slow.replyDelay = std::chrono::milliseconds(60);
  controller.faults().setSettings(slow);
  ASSERT_TRUE(waitFor(
      [this] { return window->shell().statusText(2).starts_with("Polls over 200 ms: "); },
      std::chrono::seconds(30)))
      << window->shell().statusText(2);
  EXPECT_TRUE(window->shell().statusText(2).ends_with("see Tools \u2192 Line Monitor"));
  save(window->grab(), "main_window_slow_line.png");

  QAction* item = toolsItem("Line Monitor\u2026");
  ASSERT_NE(item, nullptr);
  item->trigger();
  auto* view = window->findChild<LineMonitorView*>();
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->isVisible());
  EXPECT_FALSE(view->isModal()) << "it stays open beside the panel while polling goes on";
  EXPECT_LE(view->width(), 1366);
  EXPECT_LE(view->height(), 768);

  // A corrupted reply, a lost one and a refusal, a few requests apart.
  auto& faults = controller.faults();
  faults.injectNext(sim::FaultKind::WrongCrc, 1);
  faults.injectNext(sim::FaultKind::None, 5);
  faults.injectNext(sim::FaultKind::NoReply, 1);
  faults.injectNext(sim::FaultKind::None, 5);
  faults.injectNext(sim::FaultKind::Exception, 1);
  ASSERT_TRUE(waitFor(
      [&] {
        return count(*view, 0, "CRC errors") >= 1 && count(*view, 0, "Time-outs") >= 1 &&
               count(*view, 0, "Exceptions") >= 1;
      },
      std::chrono::seconds(60)));
  const auto* ticks = view->findChildren<QLabel*>().front();
  const QString before = ticks->text();
  ASSERT_TRUE(waitFor([&] { return ticks->text() != before; }, std::chrono::seconds(10)));
  EXPECT_TRUE(ticks->text().contains("took over 200 ms")) << ticks->text().toStdString();
  QTableView& frames = view->frames();
  ASSERT_GT(frames.model()->rowCount(), 50);
  EXPECT_EQ(frames.verticalScrollBar()->value(), frames.verticalScrollBar()->maximum())
      << "the newest frame in view";
  save(view->grab(), "line_monitor.png");

  auto* errorsOnly = view->findChild<QCheckBox*>();
  errorsOnly->click();
  const int faulty = frames.model()->rowCount();
  EXPECT_GE(faulty, 3);
  EXPECT_LT(faulty, 10);
  for (int row = 0; row < faulty; ++row) {
    EXPECT_EQ(frames.model()->index(row, 1).data().toString(), "RX");
  }
  save(view->grab(), "line_monitor_errors_only.png");

  const auto file = data / "faults.txt";
  answerer.nextFile = QString::fromStdString(file.string());
  button(*view, "Save\u2026")->click();
  ASSERT_TRUE(waitFor([&] { return std::filesystem::exists(file); }, std::chrono::seconds(20)));
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("\nfaulty frames:\n"), std::string::npos);
  EXPECT_NE(text.str().find("CRC error"), std::string::npos);
  EXPECT_NE(text.str().find("exception 4, slave device failure"), std::string::npos);

  button(*view, "Close")->click();
  EXPECT_FALSE(view->isVisible());
  item->trigger();
  EXPECT_TRUE(view->isVisible()) << "the same window, shown again";
  EXPECT_EQ(window->findChildren<LineMonitorView*>().size(), 1u);
  closeWindow();
}

}  // namespace
}  // namespace vs
