#include "qt/settings_dialog_view.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "qt/dialog_widgets.h"

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
  layOutSettingsDialog(this, fields, status_, form.buttons(),
                       [this](int id) { act([this, id] { form_.press(id); }); });
}

void SettingsDialogView::refresh() {
  for (auto& [id, edit] : edits_) showText(edit, form_.text(id));
  showText(status_, form_.status());
}

}  // namespace vs
