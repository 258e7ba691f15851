#include "qt/password_gate_view.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "qt/dialog_widgets.h"

namespace vs {

PasswordGateView::PasswordGateView(PasswordGateForm& form, QWidget* parent)
    : FormDialog(form, parent), form_(form) {
  setWindowTitle("Required Information");
  edit_ = new QLineEdit(this);
  edit_->setEchoMode(QLineEdit::Password);
  edit_->setMinimumWidth(140);
  connect(edit_, &QLineEdit::textEdited, this,
          [this](const QString& text) { form_.setPassword(text.toStdString()); });
  auto* label = new QLabel("Enter Password:", this);
  label->setBuddy(edit_);

  auto* ok = makeButton("OK", true, this);
  auto* cancel = makeButton("Cancel", false, this);
  connect(ok, &QPushButton::clicked, this, [this] { act([this] { form_.ok(); }); });
  closeWith(cancel);

  auto* layout = new QGridLayout(this);
  layout->addWidget(label, 0, 0);
  layout->addWidget(edit_, 0, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons, 1, 0, 1, 2);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void PasswordGateView::refresh() {
  showText(edit_, form_.password());
  // After a wrong password the cleared edit takes the next attempt.
  edit_->setFocus();
}

}  // namespace vs
