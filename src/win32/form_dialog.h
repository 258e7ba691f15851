#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "forms/form.h"

namespace vs {

// The Win32 side of a form: a dialog from the form's template, modal
// (DialogBoxParamW) or beside the main window (CreateDialogParamW), that
// hosts the form's timers, posted messages, message boxes and file choosers,
// forwards the user's actions to it and shows its fields again after each
// one. Views derive from it: they bind the
// template's controls by id to the form's fields and buttons, and hold no
// logic of their own.
//
// Cancel (id 2), Escape and the close box go to the form's closeBox(). While
// the form waits on the serial line longer than a glance, the dialog shows a
// wait cursor and takes no input but Cancel or Close, which stops the form's
// requests after the one in hand; it repaints all the while.
class FormDialog {
 public:
  explicit FormDialog(Form& form);
  virtual ~FormDialog();
  FormDialog(const FormDialog&) = delete;
  FormDialog& operator=(const FormDialog&) = delete;

  // Initialises the form and runs the dialog modally, owned by `owner`;
  // returns the form's result, or -1 when the template cannot be loaded.
  int run(HWND owner);
  // Shows the dialog beside `owner` and returns at once; false when the
  // template cannot be loaded. The form's end hides the dialog; shown again,
  // the form begins anew in the same dialog, and while shown, the dialog
  // comes to the front. The dialog goes with its owner or with this object.
  bool showModeless(HWND owner);
  // Ends (or hides) the dialog if its form has been ended from outside (the
  // main window's connection step closes the connection dialog).
  void closeIfEnded();
  HWND handle() const { return dialog_; }

 protected:
  // The template's controls exist; fills what the form's fields do not
  // (lists, ranges, fixed texts), before the form's initialisation.
  virtual void setUp() {}
  // Copies the form's fields into the controls.
  virtual void refresh() {}
  // A control's WM_COMMAND notification (but Cancel's); true when handled.
  virtual bool command(int /*id*/, int /*code*/) { return false; }
  // Any other dialog message a view takes (scroll bars, notifications);
  // true when handled.
  virtual bool otherMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) {
    return false;
  }
  // The brush a static control is painted on (WM_CTLCOLORSTATIC); null for
  // the dialog's own.
  virtual HBRUSH staticBackground(HWND /*control*/, HDC /*dc*/) { return nullptr; }

  // Runs one user action on the form, then refreshes; ends the dialog once
  // the form has ended.
  void act(const std::function<void()>& action);
  HWND control(int id) const { return GetDlgItem(dialog_, id); }
  std::string text(int id) const;
  // Sets a control's text only when it differs, so that the caret stays; the
  // edit's change notification it causes is not the user's and is dropped.
  void showText(int id, const std::string& text);
  // Moves the focus as the dialog manager does, default button included.
  void focus(int id);
  // Selects an edit's whole text, to be typed over: a view calls it on the
  // edit's EN_SETFOCUS. Posted, so that a click's own caret comes first.
  void selectWholeText(int id) const { PostMessageW(control(id), EM_SETSEL, 0, -1); }

  // For views that lay their controls out anew as the dialog is resized:
  // dialog units in pixels, a control placed in pixels, the dialog shrunk
  // to its monitor's work area where it is larger, and its smallest size
  // for WM_GETMINMAXINFO as a client area in dialog units.
  int across(int units) const;
  int down(int units) const;
  void place(int id, int x, int y, int width, int height);
  void fitOnScreen();
  void limitSize(MINMAXINFO& info, SIZE units) const;

 private:
  class Host : public FormHost {
   public:
    explicit Host(FormDialog& dialog) : dialog_(dialog) {}
    void startTimer(int id, int milliseconds) override;
    void killTimer(int id) override;
    void post(int message, std::intptr_t param) override;
    int messageBox(const std::string& text, const std::string& caption, Icon icon,
                   Buttons buttons) override;
    std::optional<std::string> chooseFile(const FileDialogRequest& request) override;
    void setBusy(bool busy) override;

   private:
    FormDialog& dialog_;
  };

  static INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Hands the form one delivery (an action, a tick, a message, the close
  // box), then shows it again.
  void deliver(const std::function<void()>& delivery);
  void showBusy(bool busy);
  void lookBusy();
  bool overClose() const;

  Form& form_;
  Host host_;
  HWND dialog_ = nullptr;
  bool ending_ = false;
  bool modeless_ = false;
  bool settingText_ = false;
  bool lookingBusy_ = false;
  std::vector<HWND> disabledWhileBusy_;
  HWND focusedBeforeBusy_ = nullptr;
};

}  // namespace vs
