#pragma once

#include <memory>

#include "win32/form_dialog.h"

namespace vs {

// Makes the view of one dialog template for a form.
using FormViewMaker = std::unique_ptr<FormDialog> (*)(Form& form);

// Registers the view of a dialog template; returns the template id. A view's
// own file registers it with VS_FORM_VIEW, so that adding a dialog touches
// no shared file.
int addFormView(int templateId, FormViewMaker make);

// The view of a form, chosen by its template id; null when the program has
// no view for it (the caller then reports that the dialog cannot be created).
std::unique_ptr<FormDialog> makeFormView(Form& form);

// A view for a form of the type it was written for; null for any other.
template <typename View, typename FormType>
std::unique_ptr<FormDialog> makeTypedView(Form& form) {
  auto* typed = dynamic_cast<FormType*>(&form);
  if (typed == nullptr) return nullptr;
  return std::make_unique<View>(*typed);
}

}  // namespace vs

// At namespace scope in the view's file: VS_FORM_VIEW(120, SettingsDialogView,
// PressureSettingsForm).
#define VS_FORM_VIEW(templateId, View, FormType)             \
  [[maybe_unused]] static const int vsFormView##templateId = \
      ::vs::addFormView(templateId, &::vs::makeTypedView<View, FormType>)
