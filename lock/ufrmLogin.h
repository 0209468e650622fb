// The utility password dialog and the prompt that guarded actions run.
#pragma once

#include <memory>

#include "forms/dialog.h"
#include "platform/services.h"
#include "platform/toolkit.h"

class TfrmLogin : public Dialog {
 public:
  // Builds the dialog from its layout and runs FormCreate. `services` must outlive the
  // dialog.
  explicit TfrmLogin(platform::Services& services);

  void FormCreate();
  // Set mode stores a new password, check mode compares with the stored one.
  void btnOKClick();

  // Check mode hides the confirmation; set mode first asks the player for a password
  // unlike the game's, then shows it.
  void PrepareSetMode();
  void PrepareCheckMode();

  platform::Control* lblPassword = nullptr;
  platform::Control* lblConfirm = nullptr;
  platform::Edit* edtPassword = nullptr;
  platform::Edit* edtConfirm = nullptr;
  platform::Button* btnOK = nullptr;

  bool SettingPassword = false;
  bool LoginAccepted = false;

 private:
  void WipeFields();

  platform::Services& services_;
};

// The utility password prompt: a dialog in set mode when no password is stored, else
// in check mode. `unlocked` becomes whether the dialog accepted a password or stored a
// new one; that is also the result. Reading the stored password is not guarded: a
// registry failure leaves as an exception.
bool AskUtilityPassword(platform::Services& services, bool& unlocked);

// A dialog in set mode whatever is stored: true when a new password was stored.
bool AskNewUtilityPassword(platform::Services& services);
