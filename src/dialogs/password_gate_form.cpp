#include "dialogs/password_gate_form.h"

#include "dialogs/typed_numbers.h"

namespace vs {

const std::string PasswordGateForm::kAssistanceText =
    std::string(
        "For assistance regarding valve settings  \nplease contact \n\nEngineering "
        "Department \nNorvane") +
    kContactLines;

const std::string PasswordGateForm::kWrongPasswordText =
    std::string(
        "The password is incorrect!  \nPlease contact \n\nEngineering Department \nNorvane") +
    kContactLines;

void PasswordGateForm::ok() {
  // Compared as a number, so leading zeros do not matter.
  const auto number = readWholeNumber(password_);
  const bool accepted =
      number && (*number == kServicePasswords[0] || *number == kServicePasswords[1]);
  if (!accepted) {
    host().messageBox(kWrongPasswordText, "Warning", Icon::Exclamation, Buttons::Ok);
    password_.clear();
    return;
  }
  host().messageBox(kAssistanceText, "Assistance", Icon::Information, Buttons::Ok);
  link_.settingsLocked = false;
  end(1);
}

void PasswordGateForm::cancel() {
  link_.settingsLocked = true;
  end(2);
}

}  // namespace vs
