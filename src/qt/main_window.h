#pragma once

#include <QMainWindow>
#include <QSize>
#include <QString>
#include <array>
#include <map>
#include <memory>

#include "forms/desktop.h"
#include "shell/shell.h"

class QAction;
class QLabel;
class QTimer;

namespace vs {

class FormDialog;
class PanelWidget;

// The Valvescope main window: menu, instrument panel and status bar around
// the shell. It is the shell's Desktop: timers by id, commands posted to its
// own event loop (and so also run inside dialogs and message boxes), message
// boxes, modal forms, repaint, title and status bar.
class MainWindow : public QMainWindow {
 public:
  static constexpr const char* kInitialTitle = "QX4 Valvescope V.1.02";
  // Below this the panel's bar scales run their labels together and the
  // gauges' captions cover their scales; a smaller screen bounds it.
  static constexpr QSize kMinimumSize{1024, 680};
  // The size when not maximized, and so the size the window opens at where
  // nothing maximizes it (no window manager); a smaller screen bounds it.
  static constexpr QSize kNormalSize{1280, 800};

  MainWindow(ModbusSerialMaster& master, const Clock& clock, ShellSetup setup);
  ~MainWindow() override;

  // Reads the port, opens it and connects; returns once the connection dialog
  // has closed.
  void startUp() { shell_->startUp(); }
  Shell& shell() { return *shell_; }
  Desktop& desktop() { return desktop_; }
  PanelWidget& panel() { return *panel_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  class WindowDesktop : public Desktop {
   public:
    explicit WindowDesktop(MainWindow& window) : window_(window) {}
    void startTimer(int id, int milliseconds) override;
    void killTimer(int id) override;
    void postCommand(int id) override;
    int messageBox(const std::string& text, const std::string& caption, Icon icon, Buttons buttons,
                   bool ownedByMainWindow) override;
    int runForm(Form& form) override;
    bool showForm(Form& form) override;
    void invalidate(bool erase) override;
    void setTitle(const std::string& title) override;
    void setStatusText(int part, const std::string& text) override;
    std::optional<std::string> chooseFile(const FileDialogRequest& request) override;
    void postEvent(std::function<void()> event) override;
    void waitForLine(const std::function<bool()>& done) override;

   private:
    MainWindow& window_;
  };

  void buildMenu();
  void buildStatusBar();
  void bindKeys();
  void layoutStatusParts();

  WindowDesktop desktop_{*this};
  PanelWidget* panel_ = nullptr;
  std::array<QLabel*, 4> statusParts_{};
  std::array<QString, 4> statusTexts_;  // whole, where a part shows them cut short
  QAction* logEnable_ = nullptr;
  QAction* logDisable_ = nullptr;
  std::map<int, QTimer*> timers_;
  std::map<Form*, std::unique_ptr<FormDialog>> besideViews_;  // the shell's forms they show
  std::unique_ptr<Shell> shell_;
};

}  // namespace vs
