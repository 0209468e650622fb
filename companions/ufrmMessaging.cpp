#include "companions/ufrmMessaging.h"

#include <optional>
#include <vector>

#include "forms/game_notices.h"

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

namespace {

// The lines in the code page, as the game receives them; nullopt if one cannot be.
std::optional<std::vector<std::string>> GameLines(Registry& registry,
                                                  const std::vector<std::string>& lines) {
  std::vector<std::string> received(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (!registry.ToCodePage(lines[i], received[i])) return std::nullopt;
  return received;
}

}  // namespace

void EditMessageSlots(Services& services, MessageSlotArray& slots) {
  std::string typed;
  for (const std::string& slot : slots) typed += services.registry.FromCodePage(slot) + "\r\n";
  std::optional<std::vector<std::string>> shown;
  for (;;) {
    TfrmMessaging frmMessaging(services.toolkit);
    frmMessaging.mmoMessages->SetTextUtf8(typed);
    if (!shown) shown = frmMessaging.mmoMessages->LinesUtf8();
    frmMessaging.ShowModal();
    const std::vector<std::string> lines = frmMessaging.mmoMessages->LinesUtf8();
    // Unchanged, the slots stay exactly as stored: a slot holding a line break (put there
    // from outside) would otherwise move every later slot down and lose the last.
    if (lines == *shown) return;
    if (const auto received = GameLines(services.registry, lines)) {
      for (std::size_t i = 0; i < slots.size(); ++i)
        slots[i] = i < received->size() ? (*received)[i] : "";
      return;
    }
    services.toolkit.ShowMessage(MessageKind::Information, CannotReceiveText("this chat line"));
    typed.clear();
    for (const std::string& line : lines) typed += line + "\r\n";
  }
}
