#include "dialogs/settings_dialog_view.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/dialog_widgets.h"

namespace vs {

SettingsDialogView::SettingsDialogView(SettingsForm& form, QWidget* parent)
    : FormDialog(form, parent), form_(form) {
  setWindowTitle(QString::fromStdString(form.caption()));
  auto* fields = new QGridLayout;
  fields->setHorizontalSpacing(12);
  int row = 0;
  for (const SettingsField& field : form.fields()) {
    if (field.state == FieldState::Hidden) continue;
    auto* edit = makeFieldEdit(field, this);
    auto* label = new QLabel(QString::fromStdString(field.label), this);
    label->setBuddy(edit);
    auto* hint = new QLabel(QString::fromStdString(field.hint), this);
    fields->addWidget(label, row, 0);
    fields->addWidget(edit, row, 1);
    fields->addWidget(hint, row, 2);
    const int id = field.id;
    connect(edit, &QLineEdit::textEdited, this,
            [this, id](const QString& text) { form_.setText(id, text.toStdString()); });
    edits_[id] = edit;
    ++row;
  }

  status_ = makeStatusLine(this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (const FormButton& button : form.buttons()) {
    auto* push = makeButton(button.text, button.isDefault, this);
    const int id = button.id;
    connect(push, &QPushButton::clicked, this,
            [this, id] { act([this, id] { form_.press(id); }); });
    buttons->addWidget(push);
  }

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addSpacing(6);
  layout->addWidget(status_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void SettingsDialogView::refresh() {
  for (auto& [id, edit] : edits_) showText(edit, form_.text(id));
  showText(status_, form_.status());
}

}  // namespace vs
