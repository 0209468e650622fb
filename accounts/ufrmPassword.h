// The account editor: name, login and password of one account, saved sealed.
#pragma once

#include <memory>

#include "forms/dialog.h"
#include "lock/utility_lock.h"
#include "platform/services.h"
#include "platform/toolkit.h"

// The most characters the game's login fields take; the editor's fields take no more.
inline constexpr int AccountFieldLength = 144;

class TfrmPassword : public Dialog {
 public:
  // Builds the editor from its layout for account number `account`; `services` and
  // `lock` must outlive the editor.
  TfrmPassword(platform::Services& services, const UtilityLock& lock, int account);

  // Saves the three fields (and fresh decoys) and closes. A login or password the game
  // could not receive is refused with a message; any failed write leaves as an
  // exception. Either way the editor stays open with what was typed.
  void bbtnOKClick();

  platform::Control* lblAccountName = nullptr;
  platform::Control* Label1 = nullptr;
  platform::Control* Label2 = nullptr;
  platform::Edit* edtName = nullptr;
  platform::Edit* edtRed = nullptr;
  platform::Edit* edtGreen = nullptr;
  platform::Button* bbtnOK = nullptr;

 private:
  platform::Services& services_;
  const UtilityLock& lock_;
  int account_;
};

// Opens the editor on the stored fields of `account` (a field that cannot be read shows
// nothing), shows it and destroys it once closed, saved or not.
void EditAccount(platform::Services& services, const UtilityLock& lock, int account);
