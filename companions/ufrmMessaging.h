// The message editor: the prepared chat lines, one a line.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "core/settings_layout.h"
#include "forms/dialog.h"
#include "platform/services.h"
#include "platform/toolkit.h"

using MessageSlotArray = std::array<std::string, settings::MessageSlotCount>;

class TfrmMessaging : public Dialog {
 public:
  // Builds the editor from its layout; `toolkit` must outlive it.
  explicit TfrmMessaging(platform::Toolkit& toolkit);

  void btnCancelClick();

  platform::Memo* mmoMessages = nullptr;
  platform::Button* btnCancel = nullptr;

 private:
};

// Shows the slots in the editor, one a line, and takes back what it holds when it
// closes, whichever way: line i becomes slot i, missing lines empty slots, lines after
// the last slot are dropped. A line the game could not receive (a character beyond the
// code page) is refused with a box, and the editor comes back with what was typed.
void EditMessageSlots(platform::Services& services, MessageSlotArray& slots);
