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

class FormDialog;
struct FormButton;
struct SettingsField;

// The widgets the settings and maintenance dialogs share, so that they look
// and behave alike.

// The width a dialog needs for its title to show whole: the text in the bold
// face title bars commonly use, beside the title bar's icon and buttons.
int titleWidth(const QWidget& dialog);
// An edit that selects its whole text whenever it gains the focus.
void selectAllOnFocus(QLineEdit* edit);
// The edit of a settings field. It takes every key: a character the field
// cannot use is refused by name at Change, never dropped as it is typed, where
// "2,5" would silently become 25.
QLineEdit* makeFieldEdit(const SettingsField& field, QWidget* parent);
// The status line under a dialog's fields: a sunken panel two lines high.
QLabel* makeStatusLine(QWidget* parent);
QPushButton* makeButton(const std::string& text, bool isDefault, QWidget* parent);
// Lays a settings dialog out: its fields, then the status line, then the
// form's buttons in a right-aligned row; a click hands the button's id to
// `press`, but Close (id 2) is the dialog's close box. The dialog keeps the
// size its contents and its title need, so the title must be set first.
void layOutSettingsDialog(FormDialog* dialog, QLayout* fields, QLabel* status,
                          const std::vector<FormButton>& buttons,
                          const std::function<void(int)>& press);
// Sets an edit's text only when it differs, so the cursor stays where it is.
void showText(QLineEdit* edit, const std::string& text);
void showText(QLabel* label, const std::string& text);

}  // namespace vs
