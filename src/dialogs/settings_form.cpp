#include "dialogs/settings_form.h"

#include <algorithm>

#include "dialogs/typed_numbers.h"
#include "forms/command_frame.h"

namespace vs {
namespace {

TypedNumber readField(const SettingsField& field) {
  if (field.text == field.shownText) return {field.shownValue};
  return field.kind == FieldKind::Thousandths ? readThousandths(field.text)
                                              : readUnsigned16(field.text);
}

std::string refusal(const SettingsField& field, TypedNumber::Fault fault) {
  const bool decimal = field.kind == FieldKind::Thousandths;
  if (fault == TypedNumber::Fault::NotANumber) {
    return field.label +
           (decimal ? " must be a decimal number, such as 2.5 or 2,5."
                    : " must be a whole number.") +
           " Nothing was written.";
  }
  return field.label + " must lie between " + (decimal ? "-32.768 and 32.767" : "0 and 65535") +
         ". Nothing was written.";
}

}  // namespace

SettingsForm::SettingsForm(int templateId, ShellContext& ctx, std::string caption)
    : Form(templateId, ctx.line),
      ctx_(ctx),
      caption_(std::move(caption)),
      buttons_{{1, "Change", true}, {3, "Save && Close", false}, {2, "Close", false}} {}

void SettingsForm::addField(int id, std::string label, std::string hint, FieldKind kind,
                            std::int16_t value, FieldState state, int decimals) {
  SettingsField field;
  field.id = id;
  field.label = std::move(label);
  field.hint = std::move(hint);
  field.kind = kind;
  field.state = state;
  field.decimals = decimals;
  switch (kind) {
    case FieldKind::Thousandths: field.text = formatThousandths(value, decimals); break;
    case FieldKind::Unsigned: field.text = formatUnsigned16(value); break;
    case FieldKind::Signed: field.text = std::to_string(value); break;
  }
  field.shownText = field.text;
  field.shownValue = value;
  fields_.push_back(std::move(field));
}

SettingsField& SettingsForm::field(int id) {
  return *std::find_if(fields_.begin(), fields_.end(), [id](const auto& f) { return f.id == id; });
}

const SettingsField& SettingsForm::field(int id) const {
  return *std::find_if(fields_.begin(), fields_.end(), [id](const auto& f) { return f.id == id; });
}

void SettingsForm::setText(int id, std::string text) {
  SettingsField& edited = field(id);
  if (edited.state == FieldState::Editable) edited.text = std::move(text);
}

const std::string& SettingsForm::text(int id) const { return field(id).text; }

void SettingsForm::press(int id) {
  switch (id) {
    case 1: change(); break;
    case 3: saveAndClose(); break;
    case 2: close(); break;
    default: break;
  }
}

void SettingsForm::change() {
  Values values;
  for (const auto& f : fields_) {
    if (f.state == FieldState::Disabled) continue;
    const TypedNumber value = readField(f);
    if (!value.ok()) {
      status_ = refusal(f, value.fault);
      return;
    }
    values[f.id] = value.value;
  }
  status_ = kWritingStatus;  // on show while the writes are out
  status_ = writeChanges(values) ? kUpdated : kUpdateFailed;
}

void SettingsForm::saveAndClose() {
  status_ = kWritingStatus;
  if (saveSettings(ctx_) != 0) {
    status_ = kSaveFailed;
    return;
  }
  finish();
}

void SettingsForm::close() { finish(); }

void SettingsForm::finish() {
  end(2);
  restartPolling(ctx_);
}

}  // namespace vs
