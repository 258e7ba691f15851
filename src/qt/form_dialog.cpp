#include "qt/form_dialog.h"

#include <QMetaObject>
#include <QTimer>

#include "qt/qt_prompts.h"

namespace vs {

FormDialog::FormDialog(Form& form, QWidget* parent) : QDialog(parent), form_(form), host_(*this) {
  form_.attach(&host_);
}

FormDialog::~FormDialog() { form_.attach(nullptr); }

int FormDialog::run() {
  form_.onInit();
  refresh();
  if (!form_.isEnded()) exec();
  for (auto& [id, timer] : timers_) timer->stop();
  return form_.result();
}

void FormDialog::act(const std::function<void()>& action) {
  // A form can also be ended from outside (the main window's connection step
  // closes the connection dialog); the dialog then closes at its next event.
  if (!form_.isEnded()) {
    action();
    refresh();
  }
  if (form_.isEnded()) done(form_.result());
}

void FormDialog::reject() {
  act([this] { form_.onClose(); });
}

void FormDialog::Host::startTimer(int id, int milliseconds) {
  QTimer*& timer = dialog_.timers_[id];
  if (timer == nullptr) {
    timer = new QTimer(&dialog_);
    QObject::connect(timer, &QTimer::timeout, &dialog_,
                     [this, id] { dialog_.act([this, id] { dialog_.form_.onTimer(id); }); });
  }
  timer->start(milliseconds);
}

void FormDialog::Host::killTimer(int id) {
  if (const auto it = dialog_.timers_.find(id); it != dialog_.timers_.end()) it->second->stop();
}

void FormDialog::Host::post(int message, std::intptr_t param) {
  QMetaObject::invokeMethod(
      &dialog_,
      [this, message, param] {
        dialog_.act([this, message, param] { dialog_.form_.onMessage(message, param); });
      },
      Qt::QueuedConnection);
}

int FormDialog::Host::messageBox(const std::string& text, const std::string& caption, Icon icon,
                                 Buttons buttons) {
  return showMessageBox(&dialog_, text, caption, icon, buttons);
}

std::optional<std::string> FormDialog::Host::chooseFile(const FileDialogRequest& request) {
  return showFileDialog(&dialog_, request);
}

}  // namespace vs
