#include "accounts/ufrmAccounts.h"

#include <string>

#include "accounts/ufrmPassword.h"

using namespace platform;

TfrmAccounts::TfrmAccounts(const AccountsContext& context)
    : Dialog(context.services.toolkit, {.caption = "Accounts",
                                        .clientWidth = 383,
                                        .clientHeight = 149,
                                        .border = BorderStyle::ToolWindow,
                                        .centred = true}),
      context_(context) {
  lvAccounts = &form_->AddListView({.bounds = {0, 0, 300, 145},
                                    .tabOrder = 3,
                                    .onClick = [this] { lvAccountsClick(); },
                                    .onDoubleClick = [this] { lvAccountsDblClick(); }});
  btnSelect = &form_->AddButton(
      {.bounds = {306, 8, 74, 25}, .caption = "&Select", .tabOrder = 0, .onClick = [this] {
         btnCloseClick();
       }});
  btnEdit = &form_->AddButton(
      {.bounds = {306, 40, 74, 25}, .caption = "&Edit", .tabOrder = 1, .onClick = [this] {
         btnEditClick();
       }});
  btnClose = &form_->AddButton(
      {.bounds = {306, 121, 75, 25}, .caption = "&Close", .tabOrder = 2, .onClick = [this] {
         btnCloseClick();
       }});

  FormCreate();
}

void TfrmAccounts::FormCreate() { FillList(); }

void TfrmAccounts::FillList() {
  lvAccounts->Clear();
  AccountStore store(context_.services);
  for (int n = 1; n <= AccountCount; ++n) {
    const std::string caption = store.Name(n);
    lvAccounts->AddItem(caption.empty() ? "Empty" : caption);
  }
  lvAccounts->Select(0);
}

void TfrmAccounts::lvAccountsClick() {
  const int index = lvAccounts->SelectedIndex();
  if (index >= 0) context_.SelectedAccount = index + 1;
}

void TfrmAccounts::lvAccountsDblClick() { btnEdit->Click(); }

void TfrmAccounts::btnEditClick() {
  if (!context_.lock.PassToEdit()) return;
  // The prompt may have given the lock key: what is not under it yet goes under it.
  AccountStore(context_.services, context_.lock).Settle();
  EditAccount(context_.services, context_.lock, context_.SelectedAccount);
  FillList();
}

void TfrmAccounts::btnCloseClick() {
  // The pass an edit's prompt gave ends with the list.
  context_.lock.UseUp();
  closedByButton = true;
  form_->Close();
}

bool ShowAccounts(const AccountsContext& context) {
  TfrmAccounts frmAccounts(context);
  frmAccounts.ShowModal();
  return frmAccounts.closedByButton;
}
