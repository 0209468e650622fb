#include "lock/ufrmLogin.h"

#include <stdexcept>
#include <string>

#include "core/registry_layer.h"
#include "core/sealing.h"
#include "core/secure_wipe.h"
#include "core/settings_layout.h"

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

bool ShowLogin(Services& services, bool setMode) {
  TfrmLogin frmLogin(services);
  if (setMode)
    frmLogin.PrepareSetMode();
  else
    frmLogin.PrepareCheckMode();
  frmLogin.ShowModal();
  return frmLogin.LoginAccepted;
}

}  // namespace

TfrmLogin::TfrmLogin(Services& services)
    : Dialog(services.toolkit, {.caption = "Utility Login",
                                .outerWidth = 215,
                                .outerHeight = 126,
                                .border = BorderStyle::Sizeable,
                                .centred = true}),
      services_(services) {
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
  const Secret typed(edtPassword->Text());
  if (SettingPassword) {
    if (typed.text.empty()) {
      toolkit.ShowMessage(MessageKind::Information, "Please enter a password!");
      edtPassword->SetFocus();
      return;
    }
    const bool match = typed.text == Secret(edtConfirm->Text()).text;
    if (!match) {
      toolkit.ShowMessage(MessageKind::Information, "Passwords do not match!");
      edtPassword->SetFocus();
      return;
    }
    const std::string sealed = SealText(services_.volume, typed.text);
    // A failed write leaves as an exception: the dialog stays open with what was typed.
    WriteSealedLogin(services_.registry, sealed);
    WipeFields();
    LoginAccepted = true;
    form_->Close();
    return;
  }

  const std::string sealed = SealText(services_.volume, typed.text);
  WipeFields();
  if (ReadSealedLogin(services_.registry) != sealed)
    toolkit.ShowMessage(MessageKind::Information, "Invalid Password!");
  else
    LoginAccepted = true;
  form_->Close();
}

bool AskUtilityPassword(Services& services, bool& unlocked) {
  const bool setMode = ReadSealedLogin(services.registry).empty();
  unlocked = ShowLogin(services, setMode);
  return unlocked;
}

bool AskNewUtilityPassword(Services& services) { return ShowLogin(services, true); }
