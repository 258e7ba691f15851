#include "qt/governor_settings_view.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>
#include <utility>

namespace vs {
namespace {

// The Up and Down keys in the edit beside an up-down control step its value.
class ArrowKeys : public QObject {
 public:
  ArrowKeys(QObject* edit, std::function<void(int)> step) : QObject(edit), step_(std::move(step)) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Up && key != Qt::Key_Down) return false;
    step_(key == Qt::Key_Up ? 1 : -1);
    return true;
  }

 private:
  std::function<void(int)> step_;
};

}  // namespace

GovernorSettingsView::GovernorSettingsView(GovernorSettingsForm& form, QWidget* parent)
    : ArrangedSettingsView(form, parent), form_(form) {
  auto* fields = new QGridLayout;
  fields->setHorizontalSpacing(12);
  fields->setVerticalSpacing(4);
  int row = 0;
  const auto addRow = [&](const QString& label, QLineEdit* edit, QWidget* field) {
    auto* text = new QLabel(label, this);
    text->setBuddy(edit);
    fields->addWidget(text, row, 0);
    fields->addWidget(field, row, 1);
    ++row;
  };
  for (const SettingsField& field : form.fields()) {
    QLineEdit* line = edit(field.id);
    const bool adc = field.id == GovernorSettingsForm::SPEED_GAIN_ADC;
    addRow(QString::fromStdString(field.label), line, adc ? withUpDown(line) : line);
  }
  if (!form.hasIcSpeedGain()) {
    auto* none = new QLineEdit(this);
    none->setEnabled(false);
    addRow("Speed Gain (IC)", none, none);
  }
  finishLayout(fields);
}

// The up-down control of Speed Gain (ADC): arrow buttons attached to the edit
// and the Up and Down keys inside it.
QWidget* GovernorSettingsView::withUpDown(QLineEdit* gain) {
  auto* field = new QWidget(this);
  auto* row = new QHBoxLayout(field);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  auto* column = new QVBoxLayout;
  column->setSpacing(0);
  const auto step = [this](int steps) { act([this, steps] { form_.stepSpeedGain(steps); }); };
  for (const auto& [arrow, steps] : {std::pair{Qt::UpArrow, 1}, std::pair{Qt::DownArrow, -1}}) {
    auto* button = new QToolButton(field);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(18, gain->sizeHint().height() / 2);
    connect(button, &QToolButton::clicked, this, [step, steps = steps] { step(steps); });
    column->addWidget(button);
  }
  gain->installEventFilter(new ArrowKeys(gain, step));
  row->addWidget(gain);
  row->addLayout(column);
  return field;
}

}  // namespace vs
