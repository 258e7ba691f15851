#include "qt/free_air_calibration_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt/dialog_widgets.h"

namespace vs {

FreeAirCalibrationView::FreeAirCalibrationView(FreeAirCalibrationForm& form, QWidget* parent)
    : FormDialog(form, parent), form_(form) {
  setWindowTitle("Oxygen Sensor Free Air Calibration");
  heading_ = new QLabel(this);
  QFont bold = heading_->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.3);
  heading_->setFont(bold);
  heading_->setAlignment(Qt::AlignHCenter);
  // Kept one line high when emptied, so the dialog does not jump.
  heading_->setMinimumHeight(heading_->fontMetrics().height());
  status_ = new QLabel(this);
  status_->setWordWrap(true);
  status_->setAlignment(Qt::AlignHCenter);
  status_->setMinimumWidth(380);
  status_->setMinimumHeight(2 * status_->fontMetrics().height());
  progress_ = new QProgressBar(this);
  progress_->setTextVisible(false);
  // The bar's room stays reserved while it is hidden.
  QSizePolicy policy = progress_->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  progress_->setSizePolicy(policy);

  auto* start = makeButton("Free Air Cal", true, this);
  auto* close = makeButton("Close", false, this);
  connect(start, &QPushButton::clicked, this, [this] { act([this] { form_.start(); }); });
  closeWith(close);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(start);
  buttons->addWidget(close);
  buttons->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading_);
  layout->addWidget(status_);
  layout->addWidget(progress_);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void FreeAirCalibrationView::refresh() {
  showText(heading_, form_.heading());
  showText(status_, form_.status());
  progress_->setRange(0, form_.progressMaximum());
  progress_->setValue(form_.progressPosition());
  progress_->setVisible(form_.progressVisible());
}

}  // namespace vs
