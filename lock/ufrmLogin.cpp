#include "lock/ufrmLogin.h"

#include <stdexcept>
#include <string>

#include "core/absorb.h"
#include "core/registry_layer.h"
#include "core/sealing.h"
#include "core/secure_wipe.h"
#include "core/settings_layout.h"
#include "lock/password_verifier.h"

using namespace platform;

namespace {

constexpr const char* NewPasswordRequest =
    "Please enter a password that you would like to use to protect this utility!\r"
    "Please make sure that the password is NOT the same as your Mir password!";

// The Access key, opened (created) for one access to "Login".
RegistryLayer OpenAccess(Registry& registry) {
  RegistryLayer layer(registry);
  if (!layer.OpenKey(settings::AccessKey, true))
    throw std::runtime_error("Failed to open the settings key");
  return layer;
}

std::string ReadSealedLogin(Registry& registry) {
  RegistryLayer layer = OpenAccess(registry);
  auto sealed = layer.ReadText(settings::Login.name);
  if (!sealed) throw std::runtime_error("Failed to get data for 'Login'");
  return *sealed;
}

void WriteSealedLogin(Registry& registry, const std::string& sealed) {
  RegistryLayer layer = OpenAccess(registry);
  if (!layer.WriteText(settings::Login.name, sealed))
    throw std::runtime_error("Failed to set data for 'Login'");
}

UtilityPasswordAnswer ShowLogin(Services& services, bool setMode,
                                const std::optional<BoxKey>& knownKey) {
  TfrmLogin frmLogin(services, knownKey);
  if (setMode)
    frmLogin.PrepareSetMode();
  else
    frmLogin.PrepareCheckMode();
  frmLogin.ShowModal();
  if (!frmLogin.LoginAccepted) return {};
  return {.accepted = true, .key = frmLogin.key};
}

}  // namespace

TfrmLogin::TfrmLogin(Services& services, const std::optional<BoxKey>& knownKey)
    : Dialog(services.toolkit, {.caption = "Utility Login",
                                .outerWidth = 215,
                                .outerHeight = 126,
                                .border = BorderStyle::Sizeable,
                                .centred = true}),
      services_(services),
      knownKey_(knownKey) {
  lblPassword = &form_->AddLabel({.bounds = {8, 12, 49, 13}, .caption = "Password:"});
  lblConfirm = &form_->AddLabel({.bounds = {8, 36, 35, 13}, .caption = "Confirm"});
  edtPassword = &form_->AddEdit({.bounds = {72, 8, 121, 21}, .tabOrder = 0, .passwordChar = '*'});
  edtConfirm = &form_->AddEdit({.bounds = {72, 32, 121, 21}, .tabOrder = 1, .passwordChar = '*'});
  btnOK = &form_->AddButton({.bounds = {119, 64, 75, 25},
                             .caption = "&OK",
                             .tabOrder = 2,
                             .isDefault = true,
                             .onClick = [this] { btnOKClick(); }});

  FormCreate();
}

void TfrmLogin::FormCreate() {
  SettingPassword = false;
  LoginAccepted = false;
}

void TfrmLogin::PrepareSetMode() {
  services_.toolkit.ShowMessage(MessageKind::Information, NewPasswordRequest);
  lblConfirm->SetVisible(true);
  edtConfirm->SetVisible(true);
  SettingPassword = true;
}

void TfrmLogin::PrepareCheckMode() {
  lblConfirm->SetVisible(false);
  edtConfirm->SetVisible(false);
  SettingPassword = false;
}

void TfrmLogin::WipeFields() {
  edtPassword->SetText("");
  edtConfirm->SetText("");
}

void TfrmLogin::btnOKClick() {
  Toolkit& toolkit = services_.toolkit;
  // The password counts as typed, whatever the code page can hold of it.
  const Secret typed(edtPassword->TextUtf8());
  if (SettingPassword) {
    if (typed.text.empty()) {
      toolkit.ShowMessage(MessageKind::Information, "Please enter a password!");
      edtPassword->SetFocus();
      return;
    }
    const bool match = typed.text == Secret(edtConfirm->TextUtf8()).text;
    if (!match) {
      toolkit.ShowMessage(MessageKind::Information, "Passwords do not match!");
      edtPassword->SetFocus();
      return;
    }
    StoreNewPassword(typed.text);
    return;
  }
  CheckTypedPassword(typed.text, Secret(edtPassword->Text()).text);
}

BoxKey TfrmLogin::KeptKey() { return knownKey_ ? *knownKey_ : BoxKey::Drawn(services_.random); }

void TfrmLogin::StoreNewPassword(const std::string& typedUtf8) {
  const BoxKey kept = KeptKey();
  // A failed write leaves as an exception: the dialog stays open with what was typed.
  WriteSealedLogin(services_.registry, SealedVerifier(services_, typedUtf8, kept));
  WipeFields();
  key = kept;
  LoginAccepted = true;
  form_->Close();
}

void TfrmLogin::CheckTypedPassword(const std::string& typedUtf8, const std::string& typedCodePage) {
  WipeFields();
  const std::string stored = ReadSealedLogin(services_.registry);
  PasswordCheck check = CheckPassword(services_.volume, stored, typedUtf8, typedCodePage);
  if (!check.accepted) {
    services_.toolkit.ShowMessage(MessageKind::Information, "Invalid Password!");
    form_->Close();
    return;
  }
  if (check.oldForm) {
    // The password of an earlier version gives way to a verifier now that it is known;
    // if that cannot be stored, the old form stays for the next time.
    const BoxKey kept = KeptKey();
    if (AbsorbNoted(services_.trace, "storing the utility password's verifier", [&] {
          WriteSealedLogin(services_.registry, SealedVerifier(services_, typedUtf8, kept));
        }))
      check.key = kept;
  }
  key = check.key;
  LoginAccepted = true;
  form_->Close();
}

UtilityPasswordAnswer AskUtilityPassword(Services& services,
                                         const std::optional<BoxKey>& knownKey) {
  const bool setMode = ReadSealedLogin(services.registry).empty();
  return ShowLogin(services, setMode, knownKey);
}

UtilityPasswordAnswer AskNewUtilityPassword(Services& services,
                                            const std::optional<BoxKey>& knownKey) {
  return ShowLogin(services, true, knownKey);
}
