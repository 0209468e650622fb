#include "companions/ufrmMessaging.h"

#include <vector>

using namespace platform;

TfrmMessaging::TfrmMessaging(Toolkit& toolkit) {
  FormSpec spec;
  spec.caption = "Messaging";
  spec.clientWidth = 377;
  spec.clientHeight = 193;
  spec.background = colors::Black;
  spec.border = BorderStyle::ToolWindow;
  spec.centred = true;
  form_ = toolkit.CreateForm(spec);

  MemoSpec memo;
  memo.bounds = {8, 8, 362, 145};
  memo.tabOrder = 1;
  memo.scrollBars = true;
  mmoMessages = &form_->AddMemo(memo);

  ButtonSpec ok;
  ok.bounds = {296, 162, 75, 25};
  ok.caption = "&OK";
  ok.tabOrder = 0;
  ok.onClick = [this] { btnCancelClick(); };
  btnCancel = &form_->AddButton(ok);
}

void TfrmMessaging::btnCancelClick() { form_->Close(); }

void EditMessageSlots(Toolkit& toolkit, MessageSlotArray& slots) {
  TfrmMessaging frmMessaging(toolkit);
  for (const std::string& slot : slots) frmMessaging.mmoMessages->AppendLine(slot);
  const std::vector<std::string> shown = frmMessaging.mmoMessages->Lines();
  frmMessaging.form().ShowModal();
  const std::vector<std::string> lines = frmMessaging.mmoMessages->Lines();
  // Unchanged, the slots stay exactly as stored: a slot holding a line break (put there
  // from outside) would otherwise move every later slot down and lose the last.
  if (lines == shown) return;
  for (std::size_t i = 0; i < slots.size(); ++i) slots[i] = i < lines.size() ? lines[i] : "";
}
