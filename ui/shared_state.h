// The run-time state the main window holds for the whole run and lends, by reference,
// to the handlers that read or change it. The scan's findings are in scan/findings.h.
#pragma once

#include <array>
#include <string>

#include "core/settings_layout.h"
#include "platform/clock.h"

struct SharedState {
  int PasswordEnabled = 0;  // only 1 switches the utility password on
  bool Unlocked = false;
  int SelectedAccount = 1;    // used as is to form value names, never range-checked
  std::string MessageTarget;  // empty: public chat
  std::array<std::string, settings::MessageSlotCount> MessageSlots;
  int MessageCursor = 0;
  platform::DateTime LaunchTime = 0;
  bool SkipSettingsSave = false;  // set by a reset or uninstall: nothing written at exit
  bool Dragging = false;
};
