#include "qt/qt_prompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace vs {

int showMessageBox(QWidget* parent, const std::string& text, const std::string& caption, Icon icon,
                   Buttons buttons) {
  QMessageBox box(parent);
  box.setWindowTitle(QString::fromStdString(caption));
  box.setText(QString::fromStdString(text));
  switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
  }
  if (buttons == Buttons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? ANSWER_YES : ANSWER_NO;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return ANSWER_OK;
}

std::optional<std::string> showFileDialog(QWidget* parent, const FileDialogRequest& request) {
  QStringList filters;
  for (const auto& f : request.filters) {
    // Qt reads the patterns from the last parentheses; a description such as
    // "Data Files (*.dat)" already carries them.
    const QString description = QString::fromStdString(f.description);
    const QString pattern = "(" + QString::fromStdString(f.pattern) + ")";
    filters << (description.endsWith(pattern) ? description : description + " " + pattern);
  }
  QFileDialog dialog(parent, QString::fromStdString(request.title),
                     QString::fromStdString(request.initialFolder));
  dialog.setNameFilters(filters);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setAcceptMode(request.mode == FileDialogRequest::Mode::Save ? QFileDialog::AcceptSave
                                                                     : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.mode == FileDialogRequest::Mode::Save ? QFileDialog::AnyFile
                                                                   : QFileDialog::ExistingFile);
  if (!request.initialName.empty()) dialog.selectFile(QString::fromStdString(request.initialName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toStdString();
}

}  // namespace vs
