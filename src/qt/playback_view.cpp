#include "qt/playback_view.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "qt/dialog_widgets.h"
#include "qt/page_slider.h"

namespace vs {
namespace {

// QProgressDialog counts in int; tenths of a percent fit any file.
constexpr int kProgressSteps = 1000;

QPushButton* addButton(QBoxLayout* row, const char* text) {
  auto* button = new QPushButton(text);
  // Enter must not start or stop anything by itself.
  button->setAutoDefault(false);
  row->addWidget(button);
  return button;
}

}  // namespace

PlaybackView::PlaybackView(PlaybackForm& form, QWidget* parent)
    : FormDialog(form, parent), form_(form) {
  setWindowTitle("Playback Dialog");

  date_ = new QDateEdit(this);
  date_->setDisplayFormat("yyyy_M_d");
  date_->setCalendarPopup(true);
  auto* openFile = new QPushButton("Open File", this);
  openFile->setAutoDefault(false);
  path_ = new QLineEdit(this);
  path_->setReadOnly(true);
  path_->setMinimumWidth(460);
  status_ = makeStatusLine(this);
  // Its texts are short: one line is enough.
  status_->setMinimumHeight(status_->fontMetrics().lineSpacing() + 8);
  slider_ = new PageSlider(this);

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel("Date", this));
  top->addWidget(date_);
  top->addStretch();
  top->addWidget(openFile);

  auto* buttons = new QHBoxLayout;
  const std::array<const char*, 5> transportTexts{"Play", "Stop", "<<", "||", ">>"};
  for (std::size_t i = 0; i < transportTexts.size(); ++i)
    transport_[i] = addButton(buttons, transportTexts[i]);
  buttons->addStretch();
  transport_[5] = addButton(buttons, "Export CSV");
  QPushButton* close = addButton(buttons, "Close");

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(path_);
  layout->addWidget(status_);
  layout->addWidget(slider_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  const auto onClick = [this](QPushButton* button, std::function<void()> action) {
    connect(button, &QPushButton::clicked, this, [this, action] { act(action); });
  };
  onClick(openFile, [this] { form_.OpenLogFile(); });
  onClick(transport_[0], [this] { form_.play(); });
  onClick(transport_[1], [this] { form_.stop(); });
  onClick(transport_[2], [this] { form_.fastReverse(); });
  onClick(transport_[3], [this] { form_.pause(); });
  onClick(transport_[4], [this] { form_.fastForward(); });
  onClick(transport_[5], [this] { form_.exportCsv(); });
  onClick(close, [this] { form_.close(); });
  // Only the user's changes arrive here: refresh() sets both with signals blocked.
  connect(date_, &QDateEdit::dateChanged, this, [this](QDate date) {
    act([this, date] { form_.date = {date.year(), date.month(), date.day()}; });
  });
  connect(slider_, &QSlider::valueChanged, this,
          [this](int position) { act([this, position] { form_.sliderMoved(position); }); });

  form_.setExportProgress(this);
}

PlaybackView::~PlaybackView() { form_.setExportProgress(nullptr); }

void PlaybackView::refresh() {
  {
    const QSignalBlocker blocker(date_);
    date_->setDate(QDate(form_.date.year, form_.date.month, form_.date.day));
  }
  const QString path = QString::fromStdString(form_.pathText);
  if (path_->text() != path) path_->setText(path);
  showText(status_, form_.status);

  const PlaybackSlider& s = form_.slider;
  {
    const QSignalBlocker blocker(slider_);
    slider_->setRange(s.minimum, s.maximum);
    slider_->setTickInterval(s.tickFrequency);
    slider_->setPageStep(std::max(1, (s.maximum - s.minimum) / 5));
    slider_->setValue(s.position);
    slider_->setPage(s.selectionFirst, s.selectionLast);
    slider_->setEnabled(s.enabled);
  }
  for (QPushButton* button : transport_) button->setEnabled(form_.transportEnabled);
}

bool PlaybackView::update(std::int64_t done, std::int64_t total) {
  if (progress_ == nullptr) {
    progress_ = new QProgressDialog("Writing the CSV file...", "Cancel", 0, kProgressSteps, this);
    progress_->setWindowTitle("Export CSV");
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    // Hourly files are written before it would show; a day's file is not.
    progress_->setMinimumDuration(300);
  }
  progress_->setLabelText(QString("Writing record %1 of %2").arg(done).arg(total));
  progress_->setValue(total > 0 ? static_cast<int>(done * kProgressSteps / total) : kProgressSteps);
  return !progress_->wasCanceled();
}

void PlaybackView::finish() {
  delete progress_;
  progress_ = nullptr;
}

}  // namespace vs
