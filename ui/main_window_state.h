// What the main window holds for the whole run: the stored choices it loads and saves,
// lent by reference to the dialogs that change them, and what only it uses. The utility
// password's switch and pass are the lock's (lock/utility_lock.h); the scan's findings
// are in scan/findings.h.
#pragma once

#include <array>
#include <string>

#include "core/settings_layout.h"
#include "platform/clock.h"

struct MainWindowState {
  int SelectedAccount = 1;    // used as is to form value names, never range-checked
  std::string MessageTarget;  // empty: public chat
  std::array<std::string, settings::MessageSlotCount> MessageSlots;
  int MessageCursor = 0;
  platform::DateTime LaunchTime = 0;
  bool SkipSettingsSave = false;  // set by a reset or uninstall: nothing written at exit
  bool Dragging = false;
};
