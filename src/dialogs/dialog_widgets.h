#pragma once

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QWidget;

namespace vs {

struct FormButton;
struct SettingsField;

// The widgets the settings and maintenance dialogs share, so that they look
// and behave alike.

// An edit that selects its whole text whenever it gains the focus.
void selectAllOnFocus(QLineEdit* edit);
// The edit of a settings field: digits only for gains and timers; for
// pressures at most the eight characters that are read, and only characters
// that can make a number, so "2,5" cannot silently become 2.
QLineEdit* makeFieldEdit(const SettingsField& field, QWidget* parent);
// The status line under a dialog's fields: a sunken panel two lines high.
QLabel* makeStatusLine(QWidget* parent);
QPushButton* makeButton(const std::string& text, bool isDefault, QWidget* parent);
// Lays a settings dialog out: its fields, then the status line, then the
// form's buttons in a right-aligned row; a click hands the button's id to
// `press`. The dialog keeps the size its contents need.
void layOutSettingsDialog(QWidget* dialog, QLayout* fields, QLabel* status,
                          const std::vector<FormButton>& buttons,
                          const std::function<void(int)>& press);
// Sets an edit's text only when it differs, so the cursor stays where it is.
void showText(QLineEdit* edit, const std::string& text);
void showText(QLabel* label, const std::string& text);

}  // namespace vs
