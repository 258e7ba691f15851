#include "qt/traveler_report_view.h"

#include <QAbstractTextDocumentLayout>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QVBoxLayout>

#include "qt/dialog_widgets.h"

namespace vs {

TravelerReportView::TravelerReportView(TravelerReportForm& form, QWidget* parent)
    : FormDialog(form, parent), form_(form), printer_(this) {
  setWindowTitle("Traveler Report");
  auto* fields = new QFormLayout;
  fields->setLabelAlignment(Qt::AlignLeft);

  reportFor_ = new QComboBox(this);
  reportFor_->setEditable(true);
  reportFor_->addItem("QX4");
  // As long as the title prints, and no longer.
  reportFor_->lineEdit()->setMaxLength(TravelerReportForm::kReportForLength);
  connect(reportFor_, &QComboBox::currentTextChanged, this, [this](const QString& text) {
    form_.setText(TravelerReportForm::REPORT_FOR, text.toStdString());
  });
  fields->addRow("Traveler Report for", reportFor_);

  auto* serial = new QLineEdit(this);
  serial->setReadOnly(true);
  edits_[TravelerReportForm::VALVE_SERIAL] = serial;
  fields->addRow("Valve Serial Number", serial);
  for (const auto& field : TravelerReportForm::kTypedFields) {
    auto* edit = new QLineEdit(this);
    edit->setMaxLength(TravelerReportForm::kFieldLength);
    edit->setMinimumWidth(260);
    const int id = field.id;
    connect(edit, &QLineEdit::textEdited, this,
            [this, id](const QString& text) { form_.setText(id, text.toStdString()); });
    edits_[id] = edit;
    fields->addRow(field.label, edit);
  }

  comment_ = new QTextEdit(this);
  comment_->setAcceptRichText(false);
  comment_->setLineWrapMode(QTextEdit::WidgetWidth);
  comment_->setFixedHeight(5 * comment_->fontMetrics().height() + 12);
  connect(comment_, &QTextEdit::textChanged, this, [this] {
    const QString text = comment_->toPlainText();
    if (text.size() <= static_cast<qsizetype>(TravelerReportForm::kCommentLength)) return;
    QSignalBlocker quiet(comment_);
    comment_->setPlainText(text.left(TravelerReportForm::kCommentLength));
    comment_->moveCursor(QTextCursor::End);
  });
  auto* commentLabel = new QLabel("Comments", this);
  auto* commentHint = new QLabel("(max. 250 char)", this);
  commentHint->setEnabled(false);
  auto* commentHeading = new QHBoxLayout;
  commentHeading->addWidget(commentLabel);
  commentHeading->addWidget(commentHint);
  commentHeading->addStretch();

  auto* print = makeButton("Print", true, this);
  auto* pdf = makeButton("Save as PDF…", false, this);
  auto* cancel = makeButton("Cancel", false, this);
  connect(print, &QPushButton::clicked, this, [this] {
    takeComment();
    act([this] { form_.print(printer_); });
  });
  connect(pdf, &QPushButton::clicked, this, [this] {
    takeComment();
    act([this] { form_.saveAsPdf(printer_); });
  });
  closeWith(cancel);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(print);
  buttons->addWidget(pdf);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addSpacing(4);
  layout->addLayout(commentHeading);
  layout->addWidget(comment_);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TravelerReportView::takeComment() {
  std::vector<std::string> lines;
  for (QTextBlock block = comment_->document()->begin(); block.isValid(); block = block.next()) {
    const QTextLayout* layout = block.layout();
    if (layout == nullptr || layout->lineCount() == 0) {
      lines.push_back(block.text().toStdString());
      continue;
    }
    for (int i = 0; i < layout->lineCount(); ++i) {
      const QTextLine line = layout->lineAt(i);
      lines.push_back(block.text().mid(line.textStart(), line.textLength()).toStdString());
    }
  }
  form_.setCommentLines(std::move(lines));
}

void TravelerReportView::refresh() {
  if (reportFor_->currentText().toStdString() != form_.text(TravelerReportForm::REPORT_FOR)) {
    reportFor_->setEditText(QString::fromStdString(form_.text(TravelerReportForm::REPORT_FOR)));
  }
  for (auto& [id, edit] : edits_) showText(edit, form_.text(id));
}

}  // namespace vs
