#include "qt/zero_transducer_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt/dialog_widgets.h"

namespace vs {

ZeroTransducerView::ZeroTransducerView(ZeroTransducerForm& form, QWidget* parent)
    : FormDialog(form, parent) {
  setWindowTitle("ATTENTION!");
  auto* layout = new QVBoxLayout(this);
  for (std::size_t i = 0; i < ZeroTransducerForm::kTexts.size(); ++i) {
    auto* text =
        new QLabel(QString::fromUtf8(ZeroTransducerForm::kTexts[i].data(),
                                     static_cast<int>(ZeroTransducerForm::kTexts[i].size())),
                   this);
    // The heading and the shut-down warning stand out; the steps follow.
    if (i < 2) {
      QFont font = text->font();
      font.setBold(true);
      if (i == 0) font.setPointSizeF(font.pointSizeF() * 1.4);
      text->setFont(font);
      text->setAlignment(Qt::AlignHCenter);
    }
    if (i == 2) layout->addSpacing(8);
    layout->addWidget(text);
  }
  auto* zero = makeButton("ZERO Transducer", true, this);
  auto* close = makeButton("Close", false, this);
  connect(zero, &QPushButton::clicked, this, [this, &form] { act([&form] { form.zero(); }); });
  closeWith(close);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(zero);
  buttons->addWidget(close);
  buttons->addStretch();
  layout->addSpacing(8);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace vs
