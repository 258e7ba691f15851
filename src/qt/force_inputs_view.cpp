#include "qt/force_inputs_view.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt/dialog_widgets.h"

namespace vs {

ForceInputsView::ForceInputsView(ForceInputsForm& form, QWidget* parent)
    : FormDialog(form, parent), form_(form) {
  setWindowTitle("Force Digital Inputs");
  auto* rows = new QGridLayout;
  rows->setHorizontalSpacing(12);
  for (std::size_t row = 0; row < ForceInputsForm::kRowCount; ++row) {
    const auto& input = ForceInputsForm::kRows[row];
    auto* state = new QLineEdit(this);
    state->setReadOnly(true);
    state->setFocusPolicy(Qt::NoFocus);
    state->setAlignment(Qt::AlignHCenter);
    state->setFixedWidth(70);
    // Every key is taken: what is not a force value is refused by row at
    // Change Status rather than dropped as it is typed.
    auto* value = new QLineEdit(this);
    value->setFixedWidth(70);
    selectAllOnFocus(value);
    connect(value, &QLineEdit::textEdited, this,
            [this, row](const QString& text) { form_.setValueText(row, text.toStdString()); });
    auto* label = new QLabel(
        QString::fromUtf8(input.label.data(), static_cast<qsizetype>(input.label.size())), this);
    label->setBuddy(value);
    const int line = static_cast<int>(row);
    rows->addWidget(label, line, 0);
    rows->addWidget(state, line, 1);
    rows->addWidget(value, line, 2);
    states_[row] = state;
    values_[row] = value;
  }
  // What the values mean, so that a force is typed right the first time.
  auto* legend = new QLabel("-1 = OFF     0 = NORM     1 = ON", this);
  legend->setEnabled(false);
  legend->setAlignment(Qt::AlignRight);

  auto* change = makeButton("Change Status", true, this);
  auto* release = makeButton("Release All", false, this);
  auto* close = makeButton("Close", false, this);
  connect(change, &QPushButton::clicked, this, [this] { act([this] { form_.changeStatus(); }); });
  connect(release, &QPushButton::clicked, this, [this] { act([this] { form_.releaseAll(); }); });
  closeWith(close);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(change);
  buttons->addWidget(release);
  buttons->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(rows);
  layout->addWidget(legend);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ForceInputsView::refresh() {
  for (std::size_t row = 0; row < ForceInputsForm::kRowCount; ++row) {
    showText(states_[row], form_.stateText(row));
    showText(values_[row], form_.valueText(row));
  }
}

}  // namespace vs
