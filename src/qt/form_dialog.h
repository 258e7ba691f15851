#pragma once

#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <map>
#include <vector>

#include "forms/form.h"

class QAbstractButton;

namespace vs {

// The Qt side of a form: a modal dialog that hosts the form's timers, posted
// messages, message boxes and file choosers, forwards the user's actions to it
// and shows its fields again after each one. Views derive from it, build their
// widgets in the constructor and copy the form's fields in refresh().
//
// While the form waits on the serial line longer than a glance, the dialog
// shows a wait cursor and takes no input but Close (or Cancel), which stops
// the form's requests after the one in hand.
class FormDialog : public QDialog {
 public:
  FormDialog(Form& form, QWidget* parent);
  ~FormDialog() override;

  // Initialises the form and runs the dialog modally; returns the form's result.
  int run();
  // Shows the dialog beside its parent and returns at once; the form's end
  // hides it. Shown again, the form begins anew; while shown, the dialog comes
  // to the front.
  void showModeless();

  // The button does what the close box does, and stays usable while busy.
  void closeWith(QAbstractButton* button);

 protected:
  virtual void refresh() = 0;
  // Runs one user action on the form, then refreshes, and ends the dialog
  // once the form has ended.
  void act(const std::function<void()>& action);
  // Escape and the close box go to the form's closeBox().
  void reject() override;

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

  // Hands the form one delivery (an action, a tick, a message, the close
  // box), then shows it again.
  void deliver(const std::function<void()>& delivery);
  void showBusy(bool busy);
  void lookBusy();

  Form& form_;
  Host host_;
  std::map<int, QTimer*> timers_;
  std::vector<QPointer<QAbstractButton>> closeButtons_;
  std::vector<QPointer<QWidget>> disabledWhileBusy_;
  QPointer<QWidget> focusedBeforeBusy_;
  QTimer busyLook_;  // a wait shorter than this changes nothing on screen
};

}  // namespace vs
