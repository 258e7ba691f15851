#include "qt/change_history_view.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "qt/dialog_widgets.h"

namespace vs {
namespace {

// Every column at a glance on a 1366 x 768 laptop, as on a larger screen.
constexpr QSize kPreferredSize{1320, 620};
// A column no wider than this, so that the file's column keeps its room; a
// text cut keeps its start and its end ("refused (MODBUS…FAILURE)"), and the
// whole of it is the cell's tip.
constexpr int kWidestColumn = 160;

}  // namespace

ChangeHistoryView::ChangeHistoryView(ChangeHistoryForm& form, QWidget* parent)
    : FormDialog(form, parent), form_(form) {
  setWindowTitle("Change History");
  setSizeGripEnabled(true);

  serials_ = new QComboBox(this);
  serials_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  connect(serials_, &QComboBox::activated, this, [this](int index) {
    act([this, index] { form_.chooseSerialNumber(static_cast<std::size_t>(index)); });
  });
  auto* serialLabel = new QLabel("&Serial Number:", this);
  serialLabel->setBuddy(serials_);

  const auto& columns = ChangeHistoryForm::columns();
  table_ = new QTableWidget(0, static_cast<int>(columns.size()), this);
  QStringList titles;
  for (const std::string& title : columns) titles << QString::fromStdString(title);
  table_->setHorizontalHeaderLabels(titles);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setAlternatingRowColors(true);
  table_->setWordWrap(false);
  table_->setTextElideMode(Qt::ElideMiddle);
  table_->verticalHeader()->setVisible(false);
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->horizontalHeader()->setHighlightSections(false);
  connect(table_, &QTableWidget::currentCellChanged, this,
          [this](int row) { act([this, row] { form_.selectLine(row); }); });

  restore_ = makeButton(ChangeHistoryForm::kRestoreButton, false, this);
  connect(restore_, &QPushButton::clicked, this, [this] { act([this] { form_.restore(); }); });
  auto* close = makeButton("Close", true, this);
  closeWith(close);

  status_ = makeStatusLine(this);
  auto* top = new QHBoxLayout;
  top->addWidget(serialLabel);
  top->addWidget(serials_);
  top->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(restore_);
  buttons->addStretch();
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(table_, 1);
  layout->addWidget(status_);
  layout->addLayout(buttons);

  const QSize room = parent != nullptr && parent->screen() != nullptr
                         ? parent->screen()->availableSize()
                         : screen()->availableSize();
  resize(kPreferredSize.boundedTo(room - QSize(24, 48)));
}

void ChangeHistoryView::fillTable() {
  const QSignalBlocker quiet(table_);
  const auto& lines = form_.lines();
  table_->clearContents();
  table_->setRowCount(static_cast<int>(lines.size()));
  for (std::size_t row = 0; row < lines.size(); ++row) {
    const auto cells = ChangeHistoryForm::cells(lines[row]);
    for (std::size_t column = 0; column < cells.size(); ++column) {
      auto* item = new QTableWidgetItem(QString::fromStdString(cells[column]));
      item->setToolTip(item->text());
      table_->setItem(static_cast<int>(row), static_cast<int>(column), item);
    }
  }
  table_->resizeColumnsToContents();
  for (int column = 0; column < table_->columnCount(); ++column) {
    table_->setColumnWidth(column, std::min(table_->columnWidth(column), kWidestColumn));
  }
  table_->setCurrentCell(-1, -1);
  shownRevision_ = form_.revision();
}

void ChangeHistoryView::refresh() {
  {
    const QSignalBlocker quiet(serials_);
    QStringList choices;
    for (const std::string& serial : form_.serialNumbers())
      choices << QString::fromStdString(serial);
    QStringList shown;
    for (int i = 0; i < serials_->count(); ++i) shown << serials_->itemText(i);
    if (shown != choices) {
      serials_->clear();
      serials_->addItems(choices);
    }
    serials_->setCurrentIndex(static_cast<int>(form_.serialChoice()));
  }
  if (shownRevision_ != form_.revision()) fillTable();
  showText(status_, form_.status());
  restore_->setEnabled(form_.canRestore());
}

}  // namespace vs
