#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vs {

class Form;

enum class Icon { None, Information, Exclamation, Question };
enum class Buttons { Ok, YesNo };

// Answers of a message box, numbered as the window system numbers them.
enum Answer : int { ANSWER_OK = 1, ANSWER_CANCEL = 2, ANSWER_YES = 6, ANSWER_NO = 7 };

struct FileFilter {
  std::string description;  // "Data Files (*.dat)"
  std::string pattern;      // "*.dat"
};

struct FileDialogRequest {
  enum class Mode { Open, Save };
  Mode mode = Mode::Open;
  std::string title;
  std::vector<FileFilter> filters;
  std::string initialFolder;
  std::string initialName;
};

// What the shell needs of the window system: the main window's timers, posted
// commands, message boxes, modal forms, repaint, title, status bar and file
// choosers, and the two calls that let the serial line work beside the window
// (postEvent, waitForLine). The Qt program implements it on the main window;
// tests script it. Posted commands and timer ticks are also delivered while a
// message box or a modal form is up, as a nested event loop would; the shell
// relies on that.
//
// Every call comes from the window's thread, except postEvent.
class Desktop {
 public:
  virtual ~Desktop() = default;

  virtual void startTimer(int id, int milliseconds) = 0;  // restarts a running timer
  virtual void killTimer(int id) = 0;
  // Queues a command id (40001, ...) or an application message (WM_OPEN_LOG)
  // for the main window; it runs later, from the event loop.
  virtual void postCommand(int id) = 0;
  virtual int messageBox(const std::string& text, const std::string& caption, Icon icon,
                         Buttons buttons, bool ownedByMainWindow) = 0;
  // Runs the form modally; returns its end result, or -1 when it cannot be created.
  virtual int runForm(Form& form) = 0;
  // Shows the form in a window of its own beside the main window and returns
  // at once; false when this window system has no view for it. The window
  // goes with the main window. The form's Close hides it; shown again, the
  // same form begins anew in the same window, or comes to the front if open.
  virtual bool showForm(Form& /*form*/) { return false; }
  virtual void invalidate(bool erase) = 0;
  virtual void setTitle(const std::string& title) = 0;
  virtual void setStatusText(int part, const std::string& text) = 0;
  virtual std::optional<std::string> chooseFile(const FileDialogRequest& request) = 0;

  // The one call that may come from any thread: `event` runs later on the
  // window's thread, from its event loop (a nested one too), after the events
  // and commands posted before it. Events posted after the window has gone
  // are dropped.
  virtual void postEvent(std::function<void()> event) = 0;
  // Runs the window's event loop, nested, until `done()` holds: the window
  // repaints, its menus open and its dialogs take clicks while the serial
  // line serves a request; posted events (the line's answer among them) are
  // delivered. `done()` becomes true from a posted event.
  virtual void waitForLine(const std::function<bool()>& done) = 0;
};

}  // namespace vs
