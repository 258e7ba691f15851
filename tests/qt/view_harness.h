#pragma once

// Header-only helpers for the tests that open Qt views offscreen: run a view
// modally while a script acts on it inside its event loop, answer the message
// boxes it raises, and save pictures of what a technician would see.

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <string>

#include "forms/form.h"
#include "qt/form_dialog.h"
#include "qt/form_views.h"
#include "shell/shell.h"

namespace vs::test {

// Made once and never destroyed: torn down among the program's other statics
// at exit it would outlive parts of Qt it still needs.
inline QApplication& qtApplication() {
  static int argc = 1;
  static char name[] = "valvescope-test";
  static char* argv[] = {name, nullptr};
  static auto* application = new QApplication(argc, argv);
  return *application;
}

// Saves a picture of the widget as <name>.png in the test's picture folder.
inline void savePicture(QWidget& widget, const QString& name) {
  QDir().mkpath(VS_PICTURE_DIR);
  widget.grab().save(QString(VS_PICTURE_DIR) + "/" + name + ".png");
}

// Types `path` into a file chooser and accepts it; false when the chooser
// stayed open. The chooser leaves its name field alone while that field has
// the focus, which it may get at any moment once the chooser is active.
inline bool acceptFileChooser(QFileDialog& chooser, const QString& path) {
  if (QWidget* focused = chooser.focusWidget()) focused->clearFocus();
  chooser.selectFile(path);
  static_cast<QDialog&>(chooser).accept();  // public as a dialog
  return !chooser.isVisible();
}

inline QAbstractButton* buttonNamed(QWidget& dialog, const QString& text) {
  for (auto* button : dialog.findChildren<QAbstractButton*>()) {
    if (button->text() == text) return button;
  }
  return nullptr;
}

// The edit a label names as its buddy.
inline QLineEdit* editBesides(QWidget& dialog, const QString& label) {
  for (auto* text : dialog.findChildren<QLabel*>()) {
    if (text->text() == label) return qobject_cast<QLineEdit*>(text->buddy());
  }
  return nullptr;
}

// The text of the dialog's status line (the sunken panel).
inline QString statusLine(QWidget& dialog) {
  for (auto* text : dialog.findChildren<QLabel*>()) {
    if (text->frameShape() == QFrame::Panel) return text->text();
  }
  return "<no status line>";
}

// The next message box is photographed, its text kept, and answered with OK.
inline void answerNextBox(const QString& picture, QString* text) {
  QTimer::singleShot(0, [picture, text] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    if (text != nullptr) *text = box->windowTitle() + "|" + box->text();
    savePicture(*box, picture);
    box->accept();
  });
}

// A main-window command as the test's own click, given once the serial line
// is free: a command that comes while a tick is out waits for it, and a test
// that looks at what the command did at once must not give it too early.
// Nothing can start on the line between the wait and the command.
inline bool commandWhenLineFree(Shell& shell, int id) {
  const QDeadlineTimer limit(60000);
  while (shell.lineBusy()) {
    if (limit.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  shell.onCommand(id);
  return true;
}

// Runs the form's view modally; `script` acts inside its event loop, after
// which the view is closed with its close box unless the form has ended.
// Returns the form's result, or -1 when there is no view for the form.
inline int runView(Form& form, const std::function<void(QDialog&)>& script) {
  qtApplication();
  auto view = makeFormView(form, nullptr);
  if (!view) return -1;
  QDialog* dialog = view.get();
  QTimer::singleShot(0, dialog, [dialog, script] {
    script(*dialog);
    if (dialog->isVisible()) dialog->close();
  });
  return view->run();
}

}  // namespace vs::test
