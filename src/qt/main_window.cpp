#include "qt/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QMetaObject>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>

#include "forms/command_ids.h"
#include "qt/form_dialog.h"
#include "qt/form_views.h"
#include "qt/panel_widget.h"
#include "qt/qt_prompts.h"

// Resources of a static library are registered by hand.
static void registerResources() { Q_INIT_RESOURCE(valvescope); }

namespace vs {
namespace {

// A wait shorter than this changes nothing on screen.
constexpr int kBusyLookMilliseconds = 250;

struct MenuItem {
  const char* text;  // null: a separator
  int id;
};

constexpr MenuItem kSeparator{nullptr, 0};

}  // namespace

MainWindow::MainWindow(ModbusSerialMaster& master, const Clock& clock, ShellSetup setup) {
  registerResources();
  setWindowTitle(kInitialTitle);
  QIcon icon;
  for (const int size : {16, 32, 48, 64, 128, 256}) {
    icon.addFile(QString(":/icons/valvescope_%1.png").arg(size), QSize(size, size));
  }
  setWindowIcon(icon);
  const QSize room = screen()->availableSize();
  setMinimumSize(kMinimumSize.boundedTo(room));
  resize(kNormalSize.boundedTo(room).expandedTo(minimumSize()));

  panel_ = new PanelWidget(this);
  setCentralWidget(panel_);
  buildMenu();
  buildStatusBar();
  bindKeys();

  shell_ = std::make_unique<Shell>(desktop_, master, clock, std::move(setup));
  panel_->attach(shell_.get());
  shell_->onCreate();
}

MainWindow::~MainWindow() {
  for (auto& [id, timer] : timers_) timer->stop();
  besideViews_.clear();  // before the forms they show
  panel_->attach(nullptr);
}

void MainWindow::buildMenu() {
  const auto addItems = [this](QMenu* menu, std::initializer_list<MenuItem> items) {
    for (const MenuItem& item : items) {
      if (item.text == nullptr) {
        menu->addSeparator();
        continue;
      }
      QAction* action = menu->addAction(item.text);
      const int id = item.id;
      connect(action, &QAction::triggered, this, [this, id] { shell_->onCommand(id); });
    }
  };

  QMenu* action = menuBar()->addMenu("Action");
  addItems(action, {{"Connect        F12", CMD_CONNECT},
                    {"Disconnect", CMD_DISCONNECT},
                    kSeparator,
                    {"Playback", CMD_PLAYBACK}});
  QMenu* logFile = action->addMenu("Log File");
  logEnable_ = logFile->addAction("Enable");
  logDisable_ = logFile->addAction("Disable");
  for (QAction* item : {logEnable_, logDisable_}) item->setCheckable(true);
  connect(logEnable_, &QAction::triggered, this, [this] { shell_->onCommand(CMD_LOG_ENABLE); });
  connect(logDisable_, &QAction::triggered, this, [this] { shell_->onCommand(CMD_LOG_DISABLE); });
  // The ticks show the writer's state, whichever way it was set.
  connect(logFile, &QMenu::aboutToShow, this, [this] {
    logEnable_->setChecked(shell_->logFileEnabled());
    logDisable_->setChecked(!shell_->logFileEnabled());
  });
  addItems(action, {kSeparator, {"Exit", CMD_EXIT}});

  addItems(menuBar()->addMenu("Valve Settings"),
           {{"&Pressure Settings      F2", CMD_PRESSURE_SETTINGS},
            {"&O2 Sensor Settings   F3", CMD_O2_SENSOR_SETTINGS},
            {"&Calibrate Valve          F4", CMD_CALIBRATE_VALVE},
            {"Upload Settings", CMD_UPLOAD_SETTINGS},
            {"Download Settings", CMD_DOWNLOAD_SETTINGS}});
  addItems(menuBar()->addMenu("Comm Setup"),
           {{"Comm Port", CMD_COMM_PORT}, {"Comm Port Properties", CMD_COMM_PORT_PROPERTIES}});
  addItems(menuBar()->addMenu("Zoom"),
           {{"&Zoom In      ", CMD_ZOOM_IN}, {"&Zoom Out    ", CMD_ZOOM_OUT}});
  addItems(menuBar()->addMenu("Tools"),
           {{"Zero Transducer", CMD_ZERO_TRANSDUCER}, {"Line Monitor\u2026", CMD_LINE_MONITOR}});
  // The maintenance commands the controller's own menu has no items for.
  addItems(menuBar()->addMenu("Service"), {{"Dynamic O2 Set-point Schedule…", CMD_O2_SCHEDULE},
                                           {"Governor Settings…", CMD_GOVERNOR_SETTINGS},
                                           {"Force Digital Inputs…", CMD_FORCE_DIGITAL_INPUTS},
                                           {"O2 Free-air Calibration…", CMD_FREE_AIR_CALIBRATION},
                                           {"Traveler Report…", CMD_TRAVELER_REPORT},
                                           kSeparator,
                                           {"Change History…", CMD_CHANGE_HISTORY}});
}

void MainWindow::buildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setSizeGripEnabled(true);
  for (std::size_t part = 0; part < statusParts_.size(); ++part) {
    QLabel* label = new QLabel(bar);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setContentsMargins(4, 0, 4, 0);
    bar->addWidget(label, part + 1 == statusParts_.size() ? 1 : 0);
    statusParts_[part] = label;
  }
}

void MainWindow::bindKeys() {
  const std::pair<Qt::Key, ShellKey> keys[] = {{Qt::Key_F2, ShellKey::F2},
                                               {Qt::Key_F3, ShellKey::F3},
                                               {Qt::Key_F4, ShellKey::F4},
                                               {Qt::Key_F12, ShellKey::F12},
                                               {Qt::Key_Escape, ShellKey::Escape}};
  for (const auto& [key, shellKey] : keys) {
    auto* shortcut = new QShortcut(QKeySequence(key), this);
    const ShellKey pressed = shellKey;
    connect(shortcut, &QShortcut::activated, this, [this, pressed] { shell_->onKey(pressed); });
  }
}

// The parts end at a tenth, 1/2.4 and 1/1.35 of the bar's width, and the last
// takes the rest; the first two are never narrower than their text. The third
// (problems and advice) grows past its end as far as the communication status
// leaves room, and beyond that is cut short, whole in its tool tip.
void MainWindow::layoutStatusParts() {
  // The size grip and the gaps between parts.
  constexpr int kBarMargin = 24;
  const int width = statusBar()->width();
  const int edges[3] = {width / 10, static_cast<int>(width / 2.4), static_cast<int>(width / 1.35)};
  const auto needed = [this](std::size_t part) {
    return statusParts_[part]->fontMetrics().horizontalAdvance(statusTexts_[part]) + 16;
  };
  int used = 0;
  for (std::size_t part = 0; part < 2; ++part) {
    const int partWidth = std::max(edges[part] - (part == 0 ? 0 : edges[part - 1]), needed(part));
    statusParts_[part]->setText(statusTexts_[part]);
    statusParts_[part]->setFixedWidth(partWidth);
    used += partWidth;
  }
  QLabel* problems = statusParts_[2];
  const int room = width - kBarMargin - used - needed(3);
  const int partWidth = std::max(edges[2] - edges[1], std::min(needed(2), room));
  problems->setFixedWidth(partWidth);
  const QString& text = statusTexts_[2];
  problems->setText(problems->fontMetrics().elidedText(text, Qt::ElideRight, partWidth - 16));
  problems->setToolTip(problems->text() == text ? QString() : text);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  layoutStatusParts();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (shell_->onClose()) {
    event->accept();
  } else {
    event->ignore();
  }
}

// ---- The shell's window system ----

void MainWindow::WindowDesktop::startTimer(int id, int milliseconds) {
  QTimer*& timer = window_.timers_[id];
  if (timer == nullptr) {
    timer = new QTimer(&window_);
    QObject::connect(timer, &QTimer::timeout, &window_,
                     [this, id] { window_.shell_->onTimer(id); });
  }
  timer->start(milliseconds);
}

void MainWindow::WindowDesktop::killTimer(int id) {
  if (const auto it = window_.timers_.find(id); it != window_.timers_.end()) it->second->stop();
}

void MainWindow::WindowDesktop::postCommand(int id) {
  QMetaObject::invokeMethod(
      &window_, [this, id] { window_.shell_->onCommand(id); }, Qt::QueuedConnection);
}

int MainWindow::WindowDesktop::messageBox(const std::string& text, const std::string& caption,
                                          Icon icon, Buttons buttons, bool ownedByMainWindow) {
  return showMessageBox(ownedByMainWindow ? &window_ : nullptr, text, caption, icon, buttons);
}

int MainWindow::WindowDesktop::runForm(Form& form) {
  const std::unique_ptr<FormDialog> view = makeFormView(form, &window_);
  if (view == nullptr) return -1;
  return view->run();
}

bool MainWindow::WindowDesktop::showForm(Form& form) {
  auto& view = window_.besideViews_[&form];
  if (view == nullptr) view = makeFormView(form, &window_);
  if (view == nullptr) {
    window_.besideViews_.erase(&form);
    return false;
  }
  view->showModeless();
  return true;
}

void MainWindow::WindowDesktop::invalidate(bool) { window_.panel_->update(); }

void MainWindow::WindowDesktop::setTitle(const std::string& title) {
  window_.setWindowTitle(QString::fromStdString(title));
}

void MainWindow::WindowDesktop::setStatusText(int part, const std::string& text) {
  if (part < 0 || part >= static_cast<int>(window_.statusParts_.size())) return;
  const auto index = static_cast<std::size_t>(part);
  window_.statusTexts_[index] = QString::fromStdString(text);
  if (part == 3) window_.statusParts_[index]->setText(window_.statusTexts_[index]);
  window_.layoutStatusParts();
}

std::optional<std::string> MainWindow::WindowDesktop::chooseFile(const FileDialogRequest& request) {
  return showFileDialog(&window_, request);
}

// A queued call to the window's own thread; Qt drops it if the window goes first.
void MainWindow::WindowDesktop::postEvent(std::function<void()> event) {
  QMetaObject::invokeMethod(&window_, std::move(event), Qt::QueuedConnection);
}

// The event loop goes on here, nested, as under a message box: the window
// repaints, its menus open, dialogs take their Close. A wait long enough to
// notice shows a wait cursor over the window.
void MainWindow::WindowDesktop::waitForLine(const std::function<bool()>& done) {
  QTimer look;
  look.setSingleShot(true);
  QObject::connect(&look, &QTimer::timeout, &window_,
                   [this] { window_.setCursor(Qt::WaitCursor); });
  look.start(kBusyLookMilliseconds);
  while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  window_.unsetCursor();
}

}  // namespace vs
