// The account list: sixteen accounts by name, the one in use chosen by a click, and the
// way into the account editor.
#pragma once

#include <memory>

#include "accounts/account_store.h"
#include "forms/dialog.h"
#include "lock/utility_lock.h"
#include "platform/services.h"
#include "platform/toolkit.h"

// What the list works with from the main window.
struct AccountsContext {
  platform::Services& services;
  int& SelectedAccount;  // the main window's, chosen here
  UtilityLock& lock;
};

class TfrmAccounts : public Dialog {
 public:
  // Builds the list from its layout and runs FormCreate; `context` must outlive it.
  explicit TfrmAccounts(const AccountsContext& context);

  void FormCreate();
  void lvAccountsClick();
  void lvAccountsDblClick();
  void btnEditClick();
  // For "&Select" and "&Close" alike.
  void btnCloseClick();

  // Lists the stored names afresh, "Empty" for an account without one, and highlights
  // the first entry without changing the account in use.
  void FillList();

  platform::ListView* lvAccounts = nullptr;
  platform::Button* btnSelect = nullptr;
  platform::Button* btnEdit = nullptr;
  platform::Button* btnClose = nullptr;
  // Closed through "&Select" or "&Close", not through the title bar.
  bool closedByButton = false;

 private:
  AccountsContext context_;
};

// Shows the account list modally and destroys it once closed; SelectedAccount holds
// the player's choice. True when it was closed through one of its buttons: then the
// owner asks for the message target, if time online is on.
bool ShowAccounts(const AccountsContext& context);
