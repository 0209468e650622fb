// What the main window holds for the whole run: the account in use, which its launch,
// fill and drag read and the account list changes; the message plan (its type is the
// companions'); and what only it uses. All but the last are stored choices it loads and
// saves. The utility password's switch and pass are the lock's (lock/utility_lock.h); the
// scan's findings are in scan/findings.h.
#pragma once

#include "companions/canned_messages.h"
#include "platform/clock.h"

struct MainWindowState {
  int SelectedAccount = 1;  // used as is to form value names, never range-checked
  MessagePlan messages;
  platform::DateTime LaunchTime = 0;
  bool SkipSettingsSave = false;  // set by a reset or uninstall: nothing written at exit
  bool Dragging = false;
};
