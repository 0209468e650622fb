#include "accounts/ufrmPassword.h"

#include <stdexcept>
#include <string>

#include "accounts/account_key.h"
#include "core/absorb.h"
#include "core/registry_layer.h"
#include "core/sealing.h"
#include "core/secure_wipe.h"
#include "core/settings_layout.h"
#include "forms/label_specs.h"

using namespace platform;

namespace {

// The decoy values written around the login and the password, in writing order.
constexpr char DecoySuffixes[] = {'1', '2', '4', '5', '6'};
constexpr std::uint32_t DecoyBound = 1000000000;

// The three fields: one column, each as long as the game's.
EditSpec Field(int top, int tabOrder, const char* text = "", char passwordChar = 0) {
  return {.bounds = {64, top, 121, 21},
          .text = text,
          .tabOrder = tabOrder,
          .passwordChar = passwordChar,
          .maxLength = AccountFieldLength};
}

void Write(RegistryLayer& store, const std::string& name, const std::string& sealed) {
  if (!store.WriteText(name, sealed))
    throw std::runtime_error("Failed to set data for '" + name + "'");
}

// Seals the field's text, wiping the plain copy taken from it.
std::string SealField(Volume& volume, Edit& field) {
  const Secret plain(field.Text());
  return SealText(volume, plain.text);
}

}  // namespace

TfrmPassword::TfrmPassword(Services& services, int account)
    : Dialog(services.toolkit, {.clientWidth = 238,
                                .clientHeight = 84,
                                .background = colors::Black,
                                .border = BorderStyle::ToolWindow,
                                .centred = true}),
      services_(services),
      account_(account) {
  lblAccountName = &form_->AddLabel(YellowLabel({8, 12, 52, 13}, "Account :"));
  Label1 = &form_->AddLabel(YellowLabel({8, 36, 52, 13}, "Login :"));
  Label2 = &form_->AddLabel(YellowLabel({8, 60, 52, 13}, "Password :"));
  edtName = &form_->AddEdit(Field(8, 0, "My Account"));
  edtRed = &form_->AddEdit(Field(32, 1));
  edtGreen = &form_->AddEdit(Field(56, 2, "", '*'));
  bbtnOK = &form_->AddButton({.bounds = {198, 55, 35, 25},
                              .caption = "Save",
                              .tabOrder = 3,
                              .isDefault = true,
                              .onClick = [this] { bbtnOKClick(); }});
}

void TfrmPassword::bbtnOKClick() {
  const std::string s = std::to_string(account_);
  RegistryLayer store(services_.registry);
  if (!store.OpenKey(AccountKey(), true))
    throw std::runtime_error("Failed to open the account store");
  Write(store, s + settings::AccountNameSuffix, SealField(services_.volume, *edtName));
  for (char suffix : DecoySuffixes)
    Write(store, s + suffix,
          SealText(services_.volume, std::to_string(services_.random.Below(DecoyBound))));
  // A login or password that did not reach the store must not pass for saved.
  Write(store, s + settings::AccountLoginSuffix, SealField(services_.volume, *edtRed));
  Write(store, s + settings::AccountPasswordSuffix, SealField(services_.volume, *edtGreen));
  edtGreen->SetText("");
  form_->Close();
}

void EditAccount(Services& services, int account) {
  TfrmPassword frmPassword(services, account);
  {
    RegistryLayer store(services.registry);
    const bool open = Absorb(false, [&] { return store.OpenKey(AccountKey(), true); });
    // An unreadable value leaves the field as it was.
    auto fill = [&](Edit& field, char suffix) {
      if (!open) return;
      Absorb<std::exception>([&] {
        auto sealed = store.ReadText(settings::AccountValueName(account, suffix));
        if (sealed) field.SetText(UnsealText(services.volume, *sealed));
      });
    };
    fill(*frmPassword.edtName, settings::AccountNameSuffix);
    fill(*frmPassword.edtRed, settings::AccountLoginSuffix);
    fill(*frmPassword.edtGreen, settings::AccountPasswordSuffix);
  }
  frmPassword.form().SetCaption("");
  frmPassword.ShowModal();
}
