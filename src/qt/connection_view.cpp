#include "qt/connection_view.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt/dialog_widgets.h"

namespace vs {

ConnectionView::ConnectionView(ConnectionForm& form, QWidget* parent)
    : FormDialog(form, parent), form_(form) {
  setWindowTitle("Establishing communication");
  auto* text = new QLabel(ConnectionForm::kText, this);
  bar_ = new QProgressBar(this);
  bar_->setRange(0, ConnectionForm::kProgressMaximum);
  bar_->setTextVisible(false);
  bar_->setMinimumWidth(380);
  auto* cancel = makeButton("Cancel", false, this);
  closeWith(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(18, 16, 18, 14);
  layout->setSpacing(12);
  layout->addWidget(text);
  layout->addWidget(bar_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ConnectionView::refresh() { bar_->setValue(form_.progress); }

void ConnectionView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    act([this] { form_.ok(); });
    return;
  }
  FormDialog::keyPressEvent(event);
}

}  // namespace vs
