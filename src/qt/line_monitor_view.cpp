#include "qt/line_monitor_view.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "qt/dialog_widgets.h"

namespace vs {

// The frames as the form's table holds them, kept in step by apply(): rows
// dropped at the start, rows appended, so that a refresh costs what changed
// rather than the 10,000 rows held. A row is formatted when it is drawn.
class FrameTableModel : public QAbstractTableModel {
 public:
  FrameTableModel(LineMonitorForm& form, QObject* parent)
      : QAbstractTableModel(parent),
        form_(form),
        fixed_(QFontDatabase::systemFont(QFontDatabase::FixedFont)) {}

  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : rows_; }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(LineMonitorForm::kFrameColumns.size());
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return QString(LineMonitorForm::kFrameColumns.at(static_cast<std::size_t>(section)));
  }

  QVariant data(const QModelIndex& index, int role) const override {
    const auto number = static_cast<std::size_t>(index.row());
    if (!index.isValid() || number >= form_.rowCount()) return {};
    const int column = index.column();
    switch (role) {
      case Qt::DisplayRole:
      case Qt::ToolTipRole: {
        const MonitorRow& row = rowAt(number);
        const std::string* texts[] = {&row.time, &row.direction, &row.summary, &row.hex};
        // The summary and the bytes are cut short in narrow columns.
        if (role == Qt::ToolTipRole && column < 2) return {};
        return QString::fromStdString(*texts[column]);
      }
      case Qt::ForegroundRole:
        return rowAt(number).error ? QVariant(QColor(176, 0, 0)) : QVariant();
      case Qt::FontRole: return column == 3 ? QVariant(fixed_) : QVariant();
      default: return {};
    }
  }

  void apply(const LineMonitorForm::TableChange& change) {
    if (change.reset) {
      beginResetModel();
      rows_ = static_cast<int>(form_.rowCount());
      endResetModel();
      return;
    }
    const int dropped = static_cast<int>(change.dropped);
    const int added = static_cast<int>(change.added);
    if (dropped > 0) {
      beginRemoveRows({}, 0, dropped - 1);
      rows_ -= dropped;
      endRemoveRows();
    }
    if (added > 0) {
      beginInsertRows({}, rows_, rows_ + added - 1);
      rows_ += added;
      endInsertRows();
    }
  }

 private:
  // A view asks for each of a row's cells and roles in turn: the row is
  // decoded once for all of them.
  const MonitorRow& rowAt(std::size_t number) const {
    const std::uint64_t key = form_.rowKey(number);
    if (key != cachedKey_) {
      cached_ = form_.row(number);
      cachedKey_ = key;
    }
    return cached_;
  }

  LineMonitorForm& form_;
  QFont fixed_;
  int rows_ = 0;
  mutable std::uint64_t cachedKey_ = 0;  // sequences start at 1
  mutable MonitorRow cached_;
};

namespace {

// Fits a 1366 x 768 screen with room for a task bar.
constexpr QSize kNormalSize{1220, 700};

QLabel* makeNote(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setWordWrap(true);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

LineMonitorView::LineMonitorView(LineMonitorForm& form, QWidget* parent)
    : FormDialog(form, parent), form_(form) {
  setWindowTitle("Line Monitor");
  setSizeGripEnabled(true);

  statistics_ = new QTableWidget(this);
  statistics_->setColumnCount(static_cast<int>(LineMonitorForm::kStatisticsColumns.size()));
  QStringList headers;
  for (const char* header : LineMonitorForm::kStatisticsColumns) headers << header;
  statistics_->setHorizontalHeaderLabels(headers);
  for (int column = 9; column < statistics_->columnCount(); ++column) {
    statistics_->horizontalHeaderItem(column)->setToolTip(
        "Reply latency: from the request's last byte on the line to the reply's last");
  }
  statistics_->verticalHeader()->hide();
  statistics_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  statistics_->setSelectionMode(QAbstractItemView::NoSelection);
  statistics_->setFocusPolicy(Qt::NoFocus);
  statistics_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  statistics_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  statistics_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);

  ticks_ = makeNote(this);
  notes_ = makeNote(this);
  advice_ = makeNote(this);
  advice_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  advice_->setStyleSheet("QLabel { background: #fff4d6; padding: 4px; }");

  pause_ = makeButton("Pause", false, this);
  pause_->setCheckable(true);
  connect(pause_, &QPushButton::toggled, this,
          [this](bool on) { act([this, on] { form_.setPaused(on); }); });
  auto* clear = makeButton("Clear", false, this);
  connect(clear, &QPushButton::clicked, this, [this] { act([this] { form_.clear(); }); });
  errorsOnly_ = new QCheckBox("Errors only", this);
  connect(errorsOnly_, &QCheckBox::toggled, this,
          [this](bool on) { act([this, on] { form_.setErrorsOnly(on); }); });
  auto* save = makeButton("Save\u2026", false, this);
  connect(save, &QPushButton::clicked, this, [this] { act([this] { form_.save(); }); });
  status_ = new QLabel(this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(pause_);
  buttons->addWidget(clear);
  buttons->addWidget(errorsOnly_);
  buttons->addWidget(save);
  buttons->addWidget(status_, 1);

  model_ = new FrameTableModel(form_, this);
  frames_ = new QTableView(this);
  frames_->setModel(model_);
  frames_->verticalHeader()->hide();
  const int rowHeight = fontMetrics().height() + 4;
  frames_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  frames_->verticalHeader()->setDefaultSectionSize(rowHeight);
  frames_->setSelectionBehavior(QAbstractItemView::SelectRows);
  frames_->setWordWrap(false);
  frames_->setAlternatingRowColors(true);
  frames_->horizontalHeader()->setStretchLastSection(true);
  frames_->setColumnWidth(0, fontMetrics().horizontalAdvance("00:00:00.000") + 16);
  frames_->setColumnWidth(1, fontMetrics().horizontalAdvance("Dir") + 16);
  frames_->setColumnWidth(2, fontMetrics().averageCharWidth() * 110);

  auto* close = makeButton("Close", false, this);
  closeWith(close);
  auto* closeRow = new QHBoxLayout;
  closeRow->addStretch();
  closeRow->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(statistics_);
  layout->addWidget(ticks_);
  layout->addWidget(notes_);
  layout->addWidget(advice_);
  layout->addLayout(buttons);
  layout->addWidget(frames_, 1);
  layout->addLayout(closeRow);

  const QSize room = screen()->availableSize() - QSize(40, 60);
  resize(kNormalSize.boundedTo(room));
}

LineMonitorView::~LineMonitorView() = default;

void LineMonitorView::refresh() {
  showStatistics();
  showText(ticks_, form_.ticks);
  showText(notes_, form_.notes);
  notes_->setVisible(!form_.notes.empty());
  std::string advice;
  for (const std::string& sentence : form_.advice) advice += (advice.empty() ? "" : "\n") + sentence;
  showText(advice_, advice);
  advice_->setVisible(!advice.empty());
  showText(status_, form_.status);
  {
    const QSignalBlocker pauseQuiet(pause_);
    const QSignalBlocker errorsQuiet(errorsOnly_);
    pause_->setChecked(form_.paused());
    errorsOnly_->setChecked(form_.errorsOnly());
  }
  showFrames();
}

void LineMonitorView::showStatistics() {
  const auto& rows = form_.statistics;
  if (statistics_->rowCount() != static_cast<int>(rows.size())) {
    statistics_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < statistics_->rowCount(); ++r) {
      for (int c = 0; c < statistics_->columnCount(); ++c) {
        auto* item = new QTableWidgetItem;
        item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                      : Qt::AlignRight | Qt::AlignVCenter);
        statistics_->setItem(r, c, item);
      }
    }
    int height = statistics_->horizontalHeader()->height() + 2 * statistics_->frameWidth();
    for (int r = 0; r < statistics_->rowCount(); ++r) height += statistics_->rowHeight(r);
    statistics_->setFixedHeight(height);
  }
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      QTableWidgetItem* item = statistics_->item(static_cast<int>(r), static_cast<int>(c));
      const QString text = QString::fromStdString(rows[r][c]);
      if (item->text() != text) item->setText(text);
    }
  }
}

// Follows the newest frame while scrolled to the end; scrolled back, the rows
// in view stay where they are as older ones drop out above them.
void LineMonitorView::showFrames() {
  QScrollBar* bar = frames_->verticalScrollBar();
  const bool following = bar->value() == bar->maximum();
  const int top = bar->value();
  const LineMonitorForm::TableChange change = form_.takeTableChange();
  model_->apply(change);
  if (following) {
    frames_->scrollToBottom();
  } else if (!change.reset && change.dropped > 0) {
    bar->setValue(top - static_cast<int>(change.dropped));
  }
}

}  // namespace vs
