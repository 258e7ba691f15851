#include "qt/form_dialog.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMetaObject>
#include <QTextEdit>
#include <algorithm>

#include "qt/qt_prompts.h"

namespace vs {
namespace {

constexpr int kBusyLookMilliseconds = 250;

bool takesInput(QWidget* widget) {
  return qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget) ||
         qobject_cast<QTextEdit*>(widget) || qobject_cast<QAbstractSpinBox*>(widget) ||
         qobject_cast<QComboBox*>(widget) || qobject_cast<QAbstractItemView*>(widget) ||
         qobject_cast<QAbstractSlider*>(widget);
}

}  // namespace

FormDialog::FormDialog(Form& form, QWidget* parent) : QDialog(parent), form_(form), host_(*this) {
  form_.attach(&host_);
  busyLook_.setSingleShot(true);
  busyLook_.setInterval(kBusyLookMilliseconds);
  connect(&busyLook_, &QTimer::timeout, this, [this] { lookBusy(); });
}

FormDialog::~FormDialog() { form_.attach(nullptr); }

int FormDialog::run() {
  deliver([this] { form_.init(); });
  if (!form_.isEnded()) exec();
  for (auto& [id, timer] : timers_) timer->stop();
  return form_.result();
}

void FormDialog::showModeless() {
  if (!isVisible()) {
    form_.restart();
    deliver([this] { form_.init(); });
    if (form_.isEnded()) return;
    setModal(false);
    show();
  }
  raise();
  activateWindow();
}

void FormDialog::closeWith(QAbstractButton* button) {
  closeButtons_.emplace_back(button);
  connect(button, &QAbstractButton::clicked, this, [this] { reject(); });
}

void FormDialog::act(const std::function<void()>& action) {
  deliver([this, &action] { form_.act(action); });
}

void FormDialog::reject() {
  deliver([this] { form_.closeBox(); });
}

void FormDialog::deliver(const std::function<void()>& delivery) {
  // A form can also be ended from outside (the main window's connection step
  // closes the connection dialog); the dialog then closes at its next event.
  if (!form_.isEnded()) {
    delivery();
    refresh();
  }
  if (form_.isEnded() && isVisible()) done(form_.result());
}

void FormDialog::showBusy(bool busy) {
  if (busy) {
    busyLook_.start();
    return;
  }
  busyLook_.stop();
  unsetCursor();
  for (const auto& widget : disabledWhileBusy_) {
    if (widget) widget->setEnabled(true);
  }
  disabledWhileBusy_.clear();
  if (focusedBeforeBusy_) focusedBeforeBusy_->setFocus();
  focusedBeforeBusy_ = nullptr;
  refresh();
}

// Everything that takes input is greyed but Close, which keeps the arrow and
// takes the focus meanwhile, so that it does not wander from field to field.
void FormDialog::lookBusy() {
  refresh();
  setCursor(Qt::WaitCursor);
  focusedBeforeBusy_ = focusWidget();
  if (!closeButtons_.empty() && closeButtons_.front()) closeButtons_.front()->setFocus();
  for (QWidget* widget : findChildren<QWidget*>()) {
    const bool closes =
        std::find(closeButtons_.begin(), closeButtons_.end(), widget) != closeButtons_.end();
    if (closes) {
      widget->setCursor(Qt::ArrowCursor);
    } else if (takesInput(widget) && widget->isEnabled()) {
      widget->setEnabled(false);
      disabledWhileBusy_.emplace_back(widget);
    }
  }
}

void FormDialog::Host::startTimer(int id, int milliseconds) {
  QTimer*& timer = dialog_.timers_[id];
  if (timer == nullptr) {
    timer = new QTimer(&dialog_);
    QObject::connect(timer, &QTimer::timeout, &dialog_,
                     [this, id] { dialog_.deliver([this, id] { dialog_.form_.tick(id); }); });
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
        dialog_.deliver([this, message, param] { dialog_.form_.deliver(message, param); });
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

void FormDialog::Host::setBusy(bool busy) { dialog_.showBusy(busy); }

}  // namespace vs
