#include "app/form_views.h"

#include "app/form_dialog.h"

namespace vs {
namespace {

// A view for a form of the type it was written for; null for any other.
template <typename View, typename FormType>
std::unique_ptr<FormDialog> viewFor(Form& form, QWidget* parent) {
  auto* typed = dynamic_cast<FormType*>(&form);
  if (typed == nullptr) return nullptr;
  return std::make_unique<View>(*typed, parent);
}

}  // namespace

std::unique_ptr<FormDialog> makeFormView(Form& form, [[maybe_unused]] QWidget* parent) {
  // One line per dialog: `case <template id>: return viewFor<View, FormType>(form, parent);`
  switch (form.templateId()) {
    default: break;
  }
  return nullptr;
}

}  // namespace vs
