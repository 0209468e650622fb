#include "companions/ufrmMessaging.h"

#include <vector>

using namespace platform;

TfrmMessaging::TfrmMessaging(Toolkit& toolkit)
    : Dialog(toolkit, {.caption = "Messaging",
                       .clientWidth = 377,
                       .clientHeight = 193,
                       .background = colors::Black,
                       .border = BorderStyle::ToolWindow,
                       .centred = true}) {
  mmoMessages = &form_->AddMemo({.bounds = {8, 8, 362, 145}, .tabOrder = 1, .scrollBars = true});
  btnCancel = &form_->AddButton(
      {.bounds = {296, 162, 75, 25}, .caption = "&OK", .tabOrder = 0, .onClick = [this] {
         btnCancelClick();
       }});
}

void TfrmMessaging::btnCancelClick() { form_->Close(); }

void EditMessageSlots(Toolkit& toolkit, MessageSlotArray& slots) {
  TfrmMessaging frmMessaging(toolkit);
  for (const std::string& slot : slots) frmMessaging.mmoMessages->AppendLine(slot);
  const std::vector<std::string> shown = frmMessaging.mmoMessages->Lines();
  frmMessaging.ShowModal();
  const std::vector<std::string> lines = frmMessaging.mmoMessages->Lines();
  // Unchanged, the slots stay exactly as stored: a slot holding a line break (put there
  // from outside) would otherwise move every later slot down and lose the last.
  if (lines == shown) return;
  for (std::size_t i = 0; i < slots.size(); ++i) slots[i] = i < lines.size() ? lines[i] : "";
}
