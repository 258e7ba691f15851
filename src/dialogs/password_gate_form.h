#pragma once

#include <string>

#include "forms/form.h"
#include "forms/valve_link.h"

namespace vs {

// "Required Information" (template 112): asks for a service password before a
// command that changes the controller in ways an operator should not reach by
// accident. Accepting clears the link's settingsLocked; cancelling sets it.
class PasswordGateForm : public Form {
 public:
  static constexpr int kTemplateId = 112;
  static constexpr int PASSWORD_EDIT = 1022;

  // The two service passwords; either grants the same access.
  static constexpr unsigned kServicePasswords[2] = {7391, 2604};
  // Closes both answers to the password, after the maker's name.
  static constexpr const char* kContactLines =
      "\n\nTelephone: +1 555 0142 3300\nFax: +1 555 0142 3301";
  static const std::string kAssistanceText;
  static const std::string kWrongPasswordText;

  explicit PasswordGateForm(ValveLink& link) : Form(kTemplateId), link_(link) {}

  const std::string& password() const { return password_; }
  void setPassword(std::string text) { password_ = std::move(text); }

  void ok();
  void cancel();
  void onClose() override { cancel(); }

 private:
  ValveLink& link_;
  std::string password_;
};

}  // namespace vs
