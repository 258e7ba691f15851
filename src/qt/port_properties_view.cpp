#include "qt/port_properties_view.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt/dialog_widgets.h"

namespace vs {

PortPropertiesView::PortPropertiesView(PortPropertiesForm& form, QWidget* parent)
    : FormDialog(form, parent) {
  setWindowTitle("Comm Port Properties");
  auto* fields = new QFormLayout;
  const auto row = [this, fields](const char* label, const QString& value) {
    auto* shown = new QLabel(value, this);
    shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fields->addRow(label, shown);
  };
  row("Port:", QString::fromStdString(form.portName));
  row("Bits per second:", QString::number(PortPropertiesForm::kBaudRate));
  row("Data bits:", QString::number(PortPropertiesForm::kDataBits));
  row("Parity:", PortPropertiesForm::kParity);
  row("Stop bits:", QString::number(PortPropertiesForm::kStopBits));
  row("Flow control:", PortPropertiesForm::kFlowControl);

  auto* note = new QLabel("The QX4 always talks at these settings.", this);
  auto* ok = makeButton("OK", true, this);
  connect(ok, &QPushButton::clicked, this, [this, &form] { act([&form] { form.ok(); }); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(note);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace vs
