#pragma once

#include <memory>

class QWidget;

namespace vs {

class Form;
class FormDialog;

// The Qt view of a form, chosen by its template id; null when the program has
// no view for it (the caller then reports that the dialog cannot be created).
std::unique_ptr<FormDialog> makeFormView(Form& form, QWidget* parent);

}  // namespace vs
