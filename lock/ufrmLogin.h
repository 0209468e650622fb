// The utility password dialog and the prompt that guarded actions run.
#pragma once

#include <memory>
#include <optional>

#include "core/secret_box.h"
#include "forms/dialog.h"
#include "platform/services.h"
#include "platform/toolkit.h"

class TfrmLogin : public Dialog {
 public:
  // Builds the dialog from its layout and runs FormCreate. `services` must outlive the
  // dialog. A new password keeps `knownKey`, the accounts' lock key of this run, when
  // there is one; else a fresh key.
  TfrmLogin(platform::Services& services, const std::optional<BoxKey>& knownKey);

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
  // The accounts' lock key the accepted or new password keeps; none for a password of
  // the old form whose verifier could not be written.
  std::optional<BoxKey> key;

 private:
  void WipeFields();
  // The lock key a new verifier keeps: this run's, or a fresh one.
  BoxKey KeptKey();
  void StoreNewPassword(const std::string& typedUtf8);
  void CheckTypedPassword(const std::string& typedUtf8, const std::string& typedCodePage);

  platform::Services& services_;
  std::optional<BoxKey> knownKey_;
};

// What a prompt ended with.
struct UtilityPasswordAnswer {
  bool accepted = false;
  std::optional<BoxKey> key;
};

// The utility password prompt: a dialog in set mode when no password is stored, else
// in check mode; accepted when the dialog accepted a password or stored a new one.
// Reading the stored password is not guarded: a registry failure leaves as an exception.
UtilityPasswordAnswer AskUtilityPassword(platform::Services& services,
                                         const std::optional<BoxKey>& knownKey);

// A dialog in set mode whatever is stored: accepted when a new password was stored.
UtilityPasswordAnswer AskNewUtilityPassword(platform::Services& services,
                                            const std::optional<BoxKey>& knownKey);
