#include "accounts/ufrmPassword.h"

#include <string>
#include <utility>

#include "accounts/account_store.h"
#include "core/secure_wipe.h"
#include "forms/game_notices.h"
#include "forms/label_specs.h"

using namespace platform;

namespace {

// The three fields: one column, each as long as the game's.
EditSpec Field(int top, int tabOrder, const char* text = "", char passwordChar = 0) {
  return {.bounds = {64, top, 121, 21},
          .text = text,
          .tabOrder = tabOrder,
          .passwordChar = passwordChar,
          .maxLength = AccountFieldLength};
}

// The field's text as the game would receive it; false when the code page cannot hold it.
bool GameText(Registry& registry, const Edit& field, Secret& text) {
  const Secret typed(field.TextUtf8());
  return registry.ToCodePage(typed.text, text.text);
}

}  // namespace

TfrmPassword::TfrmPassword(Services& services, const UtilityLock& lock, int account)
    : Dialog(services.toolkit, {.clientWidth = 238,
                                .clientHeight = 84,
                                .background = colors::Black,
                                .border = BorderStyle::ToolWindow,
                                .centred = true}),
      services_(services),
      lock_(lock),
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
  // The game takes 8-bit text: a character beyond the code page would reach it as "?".
  Secret login, password;
  for (auto [field, text] : {std::pair{edtRed, &login}, std::pair{edtGreen, &password}})
    if (!GameText(services_.registry, *field, *text)) {
      services_.toolkit.ShowMessage(MessageKind::Information,
                                    CannotReceiveText("this login or password"));
      field->SetFocus();
      return;
    }
  AccountStore(services_, lock_).Save(account_, edtName->Text(), login.text, password.text);
  edtRed->SetText("");
  edtGreen->SetText("");
  form_->Close();
}

void EditAccount(Services& services, const UtilityLock& lock, int account) {
  TfrmPassword frmPassword(services, lock, account);
  {
    AccountStore store(services, lock);
    frmPassword.edtName->SetText(store.Name(account));
    frmPassword.edtRed->SetText(store.Login(account).text);
    frmPassword.edtGreen->SetText(store.Password(account).text);
  }
  frmPassword.form().SetCaption("");
  frmPassword.ShowModal();
}
