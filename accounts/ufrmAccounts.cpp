#include "accounts/ufrmAccounts.h"

#include <string>

#include "accounts/account_key.h"
#include "accounts/ufrmPassword.h"
#include "core/absorb.h"
#include "core/registry_layer.h"
#include "core/sealing.h"
#include "core/settings_layout.h"

using namespace platform;

namespace {

ButtonSpec SideButton(Bounds bounds, const char* caption, int tabOrder, Action onClick) {
  ButtonSpec spec;
  spec.bounds = bounds;
  spec.caption = caption;
  spec.tabOrder = tabOrder;
  spec.onClick = std::move(onClick);
  return spec;
}

}  // namespace

TfrmAccounts::TfrmAccounts(const AccountsContext& context) : context_(context) {
  FormSpec spec;
  spec.caption = "Accounts";
  spec.clientWidth = 383;
  spec.clientHeight = 149;
  spec.border = BorderStyle::ToolWindow;
  spec.centred = true;
  form_ = context_.services.toolkit.CreateForm(spec);

  ListViewSpec list;
  list.bounds = {0, 0, 300, 145};
  list.tabOrder = 3;
  list.onClick = [this] { lvAccountsClick(); };
  list.onDoubleClick = [this] { lvAccountsDblClick(); };
  lvAccounts = &form_->AddListView(list);
  btnSelect =
      &form_->AddButton(SideButton({306, 8, 74, 25}, "&Select", 0, [this] { btnCloseClick(); }));
  btnEdit =
      &form_->AddButton(SideButton({306, 40, 74, 25}, "&Edit", 1, [this] { btnEditClick(); }));
  btnClose =
      &form_->AddButton(SideButton({306, 121, 75, 25}, "&Close", 2, [this] { btnCloseClick(); }));

  FormCreate();
}

void TfrmAccounts::FormCreate() { FillList(); }

void TfrmAccounts::FillList() {
  lvAccounts->Clear();
  Services& services = context_.services;
  RegistryLayer store(services.registry);
  const bool open = Absorb(false, [&] { return store.OpenKey(AccountKey(), true); });
  for (int n = 1; n <= AccountCount; ++n) {
    const std::string caption = !open ? std::string() : Absorb<std::exception>(std::string(), [&] {
      auto sealed = store.ReadText(settings::AccountValueName(n, settings::AccountNameSuffix));
      return sealed ? UnsealText(services.volume, *sealed) : std::string();
    });
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
  EditAccount(context_.services, context_.SelectedAccount);
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
  frmAccounts.form().ShowModal();
  return frmAccounts.closedByButton;
}
