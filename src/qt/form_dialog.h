#pragma once

#include <QDialog>
#include <functional>
#include <map>

#include "forms/form.h"

class QTimer;

namespace vs {

// The Qt side of a form: a modal dialog that hosts the form's timers, posted
// messages, message boxes and file choosers, forwards the user's actions to it
// and shows its fields again after each one. Views derive from it, build their
// widgets in the constructor and copy the form's fields in refresh().
class FormDialog : public QDialog {
 public:
  FormDialog(Form& form, QWidget* parent);
  ~FormDialog() override;

  // Initialises the form and runs the dialog modally; returns the form's result.
  int run();

 protected:
  virtual void refresh() = 0;
  // Runs one action on the form, then refreshes, and ends the dialog once the
  // form has ended.
  void act(const std::function<void()>& action);
  // Escape and the close box go to the form's onClose().
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

   private:
    FormDialog& dialog_;
  };

  Form& form_;
  Host host_;
  std::map<int, QTimer*> timers_;
};

}  // namespace vs
