// The account editor: name, login and password of one account, saved sealed.
#pragma once

#include <memory>

#include "forms/dialog.h"
#include "platform/services.h"
#include "platform/toolkit.h"

// The most characters the game's login fields take; the editor's fields take no more.
inline constexpr int AccountFieldLength = 144;

class TfrmPassword : public Dialog {
 public:
  // Builds the editor from its layout for account number `account`; `services` must
  // carry a toolkit and outlive the editor.
  TfrmPassword(platform::Services& services, int account);

  // Saves the three fields (and fresh decoys) and closes. Any failed write leaves as an
  // exception, and the editor stays open with what was typed.
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
  int account_;
};

// Opens the editor on the stored fields of `account` (a field that cannot be read keeps
// its design text), shows it and destroys it once closed, saved or not.
void EditAccount(platform::Services& services, int account);
