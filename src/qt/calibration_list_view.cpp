#include "qt/calibration_list_view.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "qt/dialog_widgets.h"

namespace vs {

CalibrationListView::CalibrationListView(CalibrationListForm& form, QWidget* parent)
    : FormDialog(form, parent), form_(form) {
  setWindowTitle("Calibration Settings");
  list_ = new QTreeWidget(this);
  list_->setColumnCount(2);
  list_->setHeaderLabels({"Register", "Current Value"});
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->header()->setStretchLastSection(false);
  list_->setColumnWidth(0, 133 + 60);
  list_->setColumnWidth(1, 133);
  list_->setMinimumHeight(360);
  list_->setMinimumWidth(list_->columnWidth(0) + list_->columnWidth(1) + 30);

  edit_ = new QLineEdit(this);
  selectAllOnFocus(edit_);
  connect(edit_, &QLineEdit::textEdited, this,
          [this](const QString& text) { form_.editValue(text.toStdString()); });

  // Whatever row is highlighted is the row a Change writes to, whether it was
  // reached by mouse or by keys; a click also hands the value to the edit.
  connect(list_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (item != nullptr) act([this, item] { form_.selectRow(list_->indexOfTopLevelItem(item)); });
  });
  connect(list_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    act([this, item] { form_.selectRow(list_->indexOfTopLevelItem(item)); });
    edit_->setFocus();
    edit_->selectAll();
  });

  auto* change = makeButton("Change", true, this);
  auto* save = makeButton("Save && Close", false, this);
  auto* close = makeButton("Close", false, this);
  connect(change, &QPushButton::clicked, this, [this] { act([this] { form_.change(); }); });
  connect(save, &QPushButton::clicked, this, [this] { act([this] { form_.saveAndClose(); }); });
  closeWith(close);

  status_ = makeStatusLine(this);
  auto* editRow = new QHBoxLayout;
  editRow->addWidget(new QLabel("Value:", this));
  editRow->addWidget(edit_, 1);
  editRow->addWidget(change);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(save);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addLayout(editRow);
  layout->addWidget(status_);
  layout->addLayout(buttons);
}

void CalibrationListView::refresh() {
  const auto& rows = form_.rows();
  if (list_->topLevelItemCount() != static_cast<int>(rows.size())) {
    list_->clear();
    for (const auto& row : rows) {
      list_->addTopLevelItem(new QTreeWidgetItem(
          {QString::fromStdString(row.name), QString::fromStdString(row.value)}));
    }
    // The row remembered from the last opening is shown, as it is the one a
    // Change would write to.
    QSignalBlocker quiet(list_);
    list_->setCurrentItem(list_->topLevelItem(form_.selectedRow()));
    list_->scrollToItem(list_->currentItem(), QAbstractItemView::PositionAtCenter);
  }
  for (int i = 0; i < list_->topLevelItemCount(); ++i) {
    list_->topLevelItem(i)->setText(
        1, QString::fromStdString(rows[static_cast<std::size_t>(i)].value));
  }
  showText(edit_, form_.valueText());
  showText(status_, form_.status());
}

}  // namespace vs
