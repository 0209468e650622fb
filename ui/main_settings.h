// The main window's settings life cycle: what FormCreate reads from the Access key and
// FormDestroy writes back.
#pragma once

#include "lock/utility_lock.h"
#include "platform/services.h"
#include "ui/main_window_state.h"

// The four menu check marks that are settings of their own.
struct MenuMarks {
  bool stealth = false;
  bool messaging = true;
  bool online = false;
  bool warning = false;
};

// Opens (creates) the Access key and reads every value with its own guard: a missing,
// mistyped or failing value takes its default. Message slots are unsealed; a slot that
// cannot be read or unsealed stays empty; "Validate" goes to the lock. Never throws for a
// registry failure.
void LoadMainSettings(platform::Services& services, MainWindowState& state, MenuMarks& marks,
                      UtilityLock& lock);

// Writes "Acc", "Stealth", "Online", "Warning", "MessageTarget", "Messaging", then the
// 26 slots (sealed, or "" for an empty slot). A slot that cannot be written gets "" and
// the save goes on; any other failure ends the save there, silently. "Validate" is
// not written here.
void SaveMainSettings(platform::Services& services, const MainWindowState& state,
                      const MenuMarks& marks);
