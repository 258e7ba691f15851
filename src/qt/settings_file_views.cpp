#include "qt/settings_file_views.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>

#include "qt/dialog_widgets.h"

namespace vs {
namespace {

struct ButtonAction {
  const char* text;
  std::function<void()> action;  // none: the button closes the dialog
};

// The layout both dialogs share: heading, read-only path, status line, an
// optional progress bar, and three buttons of which the first is the default,
// right-aligned in the row returned.
QHBoxLayout* layOut(FormDialog* dialog, const char* heading, QLineEdit*& path, QLabel*& status,
                    QWidget* progress, const std::function<void(const std::function<void()>&)>& act,
                    std::initializer_list<ButtonAction> actions) {
  path = new QLineEdit(dialog);
  path->setReadOnly(true);
  path->setMinimumWidth(420);
  status = makeStatusLine(dialog);
  auto* layout = new QVBoxLayout(dialog);
  layout->addWidget(new QLabel(heading, dialog));
  layout->addWidget(path);
  layout->addWidget(status);
  if (progress != nullptr) layout->addWidget(progress);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  bool first = true;
  for (const ButtonAction& entry : actions) {
    auto* button = makeButton(entry.text, first, dialog);
    first = false;
    if (entry.action) {
      QObject::connect(button, &QPushButton::clicked, dialog,
                       [act, action = entry.action] { act(action); });
    } else {
      dialog->closeWith(button);
    }
    buttons->addWidget(button);
  }
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  return buttons;
}

}  // namespace

UploadSettingsView::UploadSettingsView(UploadSettingsForm& form, QWidget* parent)
    : FormDialog(form, parent), form_(form) {
  setWindowTitle("Upload Settings");
  layOut(this, "Upload settings to file", path_, status_, nullptr,
         [this](const std::function<void()>& action) { act(action); },
         {{"Create File", [this] { form_.createFile(); }},
          {"Upload Settings", [this] { form_.upload(); }},
          {"Close", nullptr}});
}

void UploadSettingsView::refresh() {
  showText(path_, form_.path());
  showText(status_, form_.status());
}

DownloadSettingsView::DownloadSettingsView(DownloadSettingsForm& form, QWidget* parent)
    : FormDialog(form, parent), form_(form) {
  setWindowTitle("Download Settings");
  progress_ = new QProgressBar(this);
  progress_->setRange(0, 100);
  progress_->setTextVisible(false);
  // Keeps its place while hidden, so the dialog does not jump when it appears.
  QSizePolicy policy = progress_->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  progress_->setSizePolicy(policy);
  QHBoxLayout* buttons = layOut(this, "Valve Settings from", path_, status_, progress_,
                                [this](const std::function<void()>& action) { act(action); },
                                {{"Select File", [this] { form_.selectFile(); }},
                                 {"Download", [this] { form_.download(); }},
                                 {"Close", nullptr}});
  // Offered only after a failed backup, away from Download and never the
  // default, so that neither Enter nor a second Download goes without one.
  withoutBackup_ = makeButton("Download Without Backup", false, this);
  policy = withoutBackup_->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  withoutBackup_->setSizePolicy(policy);
  withoutBackup_->hide();
  connect(withoutBackup_, &QPushButton::clicked, this,
          [this] { act([this] { form_.downloadWithoutBackup(); }); });
  buttons->insertWidget(0, withoutBackup_);
}

void DownloadSettingsView::refresh() {
  showText(path_, form_.path());
  showText(status_, form_.status());
  progress_->setValue(form_.progress());
  progress_->setVisible(form_.progressShown());
  withoutBackup_->setVisible(form_.withoutBackupOffered());
}

}  // namespace vs
