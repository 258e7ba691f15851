#include "win32/form_views.h"

#include <map>

namespace vs {
namespace {

// Filled while the program's static objects are made, before WinMain.
std::map<int, FormViewMaker>& views() {
  static std::map<int, FormViewMaker> registered;
  return registered;
}

}  // namespace

int addFormView(int templateId, FormViewMaker make) {
  views()[templateId] = make;
  return templateId;
}

std::unique_ptr<FormDialog> makeFormView(Form& form) {
  const auto found = views().find(form.templateId());
  return found != views().end() ? found->second(form) : nullptr;
}

}  // namespace vs
