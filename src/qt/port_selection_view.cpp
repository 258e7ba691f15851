#include "qt/port_selection_view.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt/dialog_widgets.h"

namespace vs {

PortSelectionView::PortSelectionView(PortSelectionForm& form, QWidget* parent)
    : FormDialog(form, parent), form_(form) {
  setWindowTitle("Select Communication Port");
  auto* group = new QGroupBox("Comm Port", this);
  port_ = new QLineEdit(group);
  deviceId_ = new QLineEdit(group);
  devices_ = new QComboBox(group);
  devices_->setMinimumContentsLength(28);
  devices_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  if (form_.devices.empty()) {
    devices_->addItem("(no serial device found)");
    devices_->setEnabled(false);
  } else {
    devices_->addItem("(use the COM number)");
    for (const auto& label : form_.labels) devices_->addItem(QString::fromStdString(label));
  }

  // A number typed and a device picked exclude each other: what the user did
  // last is what counts.
  connect(port_, &QLineEdit::textEdited, this, [this](const QString& text) {
    form_.portNumber = text.toStdString();
    form_.device.clear();
    devices_->setCurrentIndex(0);
  });
  connect(deviceId_, &QLineEdit::textEdited, this,
          [this](const QString& text) { form_.deviceId = text.toStdString(); });
  connect(devices_, &QComboBox::activated, this, [this](int index) {
    form_.device = index > 0 ? form_.devices[static_cast<std::size_t>(index - 1)] : std::string();
    if (index > 0) {
      form_.portNumber.clear();
      port_->clear();
    }
  });

  auto* grid = new QGridLayout(group);
  auto* com = new QLabel("COM", group);
  com->setBuddy(port_);
  auto* deviceIdLabel = new QLabel("Device ID", group);
  deviceIdLabel->setBuddy(deviceId_);
  grid->addWidget(com, 0, 0);
  grid->addWidget(port_, 0, 1);
  grid->addWidget(deviceIdLabel, 0, 2);
  grid->addWidget(deviceId_, 0, 3);
  grid->addWidget(new QLabel("Device", group), 1, 0);
  grid->addWidget(devices_, 1, 1, 1, 3);
  grid->setColumnMinimumWidth(1, 70);
  grid->setColumnMinimumWidth(3, 70);

  auto* ok = makeButton("OK", true, this);
  auto* cancel = makeButton("Cancel", false, this);
  connect(ok, &QPushButton::clicked, this, [this] { act([this] { form_.ok(); }); });
  closeWith(cancel);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  port_->setFocus();
}

void PortSelectionView::refresh() {
  showText(port_, form_.portNumber);
  showText(deviceId_, form_.deviceId);
}

}  // namespace vs
