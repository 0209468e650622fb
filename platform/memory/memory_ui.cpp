#include "platform/memory/memory_ui.h"

#include "platform/memory/memory_form.h"

namespace platform {

void MemoryUi::Record(const MemoryForm& form, FormEvent event) {
  formEvents.push_back({clock.nowMs(), form.Handle(), form.Caption(), event, form.ScreenBounds()});
}

bool MemoryUi::AcceptsInput(const MemoryForm& form) const {
  if (!form.Showing() || boxesOpen > 0) return false;
  return modalStack.empty() || modalStack.back() == &form;
}

}  // namespace platform
