#include "qt/arranged_settings_view.h"

#include <QLabel>
#include <QLineEdit>

#include "qt/dialog_widgets.h"

namespace vs {

ArrangedSettingsView::ArrangedSettingsView(SettingsForm& form, QWidget* parent)
    : FormDialog(form, parent), form_(form) {
  setWindowTitle(QString::fromStdString(form.caption()));
  for (const SettingsField& field : form.fields()) {
    if (field.state == FieldState::Hidden) continue;
    auto* edit = makeFieldEdit(field, this);
    const int id = field.id;
    connect(edit, &QLineEdit::textEdited, this,
            [this, id](const QString& text) { form_.setText(id, text.toStdString()); });
    edits_[id] = edit;
  }
}

void ArrangedSettingsView::finishLayout(QLayout* fields) {
  status_ = makeStatusLine(this);
  layOutSettingsDialog(this, fields, status_, form_.buttons(),
                       [this](int id) { act([this, id] { form_.press(id); }); });
}

void ArrangedSettingsView::refresh() {
  for (auto& [id, edit] : edits_) showText(edit, form_.text(id));
  showText(status_, form_.status());
}

}  // namespace vs
