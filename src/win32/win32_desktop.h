#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "forms/desktop.h"

namespace vs {

class FormDialog;

// The shell's window system on Win32, for one main window: its timers
// (SetTimer), commands and the link worker's events posted to it
// (PostMessageW; events queue here, one message each, so that they keep
// their place among the commands), message boxes, modal forms from their
// templates and forms in dialogs of their own beside the main window,
// repaint, title, status bar and file choosers. The main window hands it the
// messages it posts to itself.
//
// A modal form, and a message box the shell has the main window own, is
// owned by the innermost modal form running, so that the dialog under it
// takes no clicks meanwhile.
class Win32Desktop final : public Desktop {
 public:
  // The messages the desktop posts to the main window.
  static constexpr UINT kCommandMessage = WM_APP + 10;  // wParam: the command id
  static constexpr UINT kEventMessage = WM_APP + 11;
  // The main window's timer that shows a long wait on the line.
  static constexpr UINT_PTR kBusyLookTimer = 0x7F00;

  Win32Desktop(HWND window, HWND statusBar, HACCEL keys);
  ~Win32Desktop() override;
  Win32Desktop(const Win32Desktop&) = delete;
  Win32Desktop& operator=(const Win32Desktop&) = delete;

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

  // Runs the oldest event the link worker posted (kEventMessage).
  void runEvent();
  // After each message the main window took from the shell's side: a form
  // that has been ended from outside closes its dialog.
  void afterDelivery();
  // The wait on the line has lasted long enough to show (kBusyLookTimer).
  void lookBusy();
  // Whether the main window shows the wait cursor.
  bool lookingBusy() const { return lookingBusy_; }
  // The status bar's parts end at a tenth, 1/2.4 and 1/1.35 of its width,
  // and the last takes the rest; a part is never narrower than its text.
  void layOutStatusParts();
  // The main window is going: events posted from now on are dropped.
  void windowGone();
  // The shell is going: the dialogs beside the main window, which show its
  // forms, go first.
  void closeFormsBeside();

  // The message loop of the program: runs until WM_QUIT; returns its code.
  int run();

 private:
  // One message as every loop of ours handles it: the main window's keys
  // through the key table, a dialog's through the dialog manager.
  void dispatch(MSG& message);
  // The main window, or the innermost modal form's dialog.
  HWND innermostOwner() const;

  HWND window_;
  HWND statusBar_;
  HACCEL keys_;
  std::vector<FormDialog*> forms_;  // running, innermost last
  std::map<Form*, std::unique_ptr<FormDialog>> formsBeside_;
  bool lookingBusy_ = false;

  std::mutex mutex_;  // guards what the link worker reaches
  bool accepting_ = true;
  std::deque<std::function<void()>> events_;
};

}  // namespace vs
