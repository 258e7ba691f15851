#include "dialogs/zero_transducer_form.h"

#include "forms/command_frame.h"
#include "registers/register_map.h"

namespace vs {

void ZeroTransducerForm::zero() {
  ctx_.memory.previousZeroing = zeroingBefore_;
  // The request is sent twice; the second answer decides.
  writeRegister(ctx_, REG_ZEROING, 1);
  const bool requested = writeRegister(ctx_, REG_ZEROING, 1) == 0;
  if (ctx_.link.linkUp && !requested) {
    host().messageBox("Failed to write to register", "Warning", Icon::Exclamation, Buttons::Ok);
  }
  // The request only survives the power cycle once it is stored.
  const bool stored = saveSettings(ctx_) == 0;
  if (ctx_.link.linkUp && requested && !stored) {
    host().messageBox("Failed to write to register", "Warning", Icon::Exclamation, Buttons::Ok);
  }
}

}  // namespace vs
