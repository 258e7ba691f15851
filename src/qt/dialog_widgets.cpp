#include "qt/dialog_widgets.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "dialogs/settings_form.h"
#include "qt/form_dialog.h"

namespace vs {
namespace {

constexpr int kCloseButton = 2;

// A click that gives the focus would deselect at once; selecting after the
// event has been handled keeps the selection.
class SelectAllFilter : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusIn) {
      auto* edit = static_cast<QLineEdit*>(watched);
      QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
    }
    return false;
  }
};

}  // namespace

int titleWidth(const QWidget& dialog) {
  QFont bold = dialog.font();
  bold.setBold(true);
  const QFontMetrics metrics(bold);
  return metrics.horizontalAdvance(dialog.windowTitle()) + 8 * metrics.height();
}

void selectAllOnFocus(QLineEdit* edit) { edit->installEventFilter(new SelectAllFilter(edit)); }

QLineEdit* makeFieldEdit(const SettingsField& field, QWidget* parent) {
  auto* edit = new QLineEdit(QString::fromStdString(field.text), parent);
  edit->setEnabled(field.state == FieldState::Editable);
  edit->setMinimumWidth(110);
  selectAllOnFocus(edit);
  return edit;
}

QLabel* makeStatusLine(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  // Two lines, so that a refusal naming its field and the reason fits.
  label->setMinimumHeight(2 * label->fontMetrics().lineSpacing() + 8);
  label->setWordWrap(true);
  return label;
}

QPushButton* makeButton(const std::string& text, bool isDefault, QWidget* parent) {
  auto* button = new QPushButton(QString::fromStdString(text), parent);
  button->setDefault(isDefault);
  button->setAutoDefault(isDefault);
  return button;
}

void layOutSettingsDialog(FormDialog* dialog, QLayout* fields, QLabel* status,
                          const std::vector<FormButton>& buttons,
                          const std::function<void(int)>& press) {
  auto* row = new QHBoxLayout;
  row->addStretch();
  for (const FormButton& button : buttons) {
    auto* push = makeButton(button.text, button.isDefault, dialog);
    if (button.id == kCloseButton) {
      dialog->closeWith(push);
    } else {
      QObject::connect(push, &QPushButton::clicked, dialog, [press, id = button.id] { press(id); });
    }
    row->addWidget(push);
  }
  auto* layout = new QVBoxLayout(dialog);
  layout->addLayout(fields);
  layout->addSpacing(6);
  layout->addWidget(status);
  layout->addLayout(row);
  layout->addStrut(titleWidth(*dialog));
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void showText(QLineEdit* edit, const std::string& text) {
  const QString wanted = QString::fromStdString(text);
  if (edit->text() != wanted) edit->setText(wanted);
}

void showText(QLabel* label, const std::string& text) {
  label->setText(QString::fromStdString(text));
}

}  // namespace vs
