// The main window's handlers that work through dialogs: the utility password menu,
// the canned messages and their target, and the account list.
#include "accounts/account_store.h"
#include "accounts/ufrmAccounts.h"
#include "accounts/window_title.h"
#include "companions/canned_messages.h"
#include "companions/ufrmMessaging.h"
#include "core/absorb.h"
#include "core/registry_layer.h"
#include "core/settings_layout.h"
#include "ui/ufrmQuenlar.h"

using namespace platform;

void TfrmQuenlar::mnuEnablePasswordClick() {
  if (!lock_.PassToSwitch()) return;
  // The accounts come out from under the lock before it goes: one that could not would
  // open to nobody once the password is off, so the password then stays on.
  if (lock_.On() && !AccountStore(services_, lock_).ReleaseLock()) {
    services_.toolkit.ShowMessage(MessageKind::Error, StillUnderLockText);
    return;
  }
  lock_.PasswordEnabled = lock_.PasswordEnabled == 0 ? 1 : 0;
  mnuEnablePassword->SetCaption(lock_.PasswordEnabled == 1 ? "&Disable Password..."
                                                           : "&Enable Password...");
  // The switch holds for this run even if it could not be stored.
  const bool stored = Absorb(false, [&] {
    RegistryLayer layer(services_.registry);
    return layer.OpenKey(settings::AccessKey, true) &&
           layer.WriteInteger(settings::Validate.name, lock_.PasswordEnabled);
  });
  // Under the lock only once the switch is stored: a start that found the password off
  // would have no prompt to open them with.
  if (lock_.On() && stored) SettleAccounts();
}

void TfrmQuenlar::mnuChangePasswordClick() {
  lock_.ChangePassword();
  SettleAccounts();
}

void TfrmQuenlar::mnuMessagingClick() { EditMessageSlots(services_, state_.messages.MessageSlots); }

void TfrmQuenlar::mnuEnableMessagingClick() {
  mnuEnableMessaging->SetChecked(!mnuEnableMessaging->Checked());
}

void TfrmQuenlar::mnuMessageTargetClick() {
  AskMessageTarget(services_, state_.messages.MessageTarget, *log_);
}

void TfrmQuenlar::tmrMessagesTimer() {
  chatPosts_.Run(ChatPost::Messages, [this] { MessageSenderOf().Tick(); });
}

void TfrmQuenlar::StartMessageBatch() {
  MessageSenderOf().StartBatch(mnuEnableMessaging->Checked());
}

MessageSender TfrmQuenlar::MessageSenderOf() {
  return MessageSender{services_,    state_.messages,  *edtMessage, *edtTemp,
                       *tmrMessages, playerClipboard_, *log_};
}

void TfrmQuenlar::btnAccountClick() {
  // The target is asked for before the title shows the account chosen.
  if (ShowAccounts(AccountsContext{services_, state_.SelectedAccount, lock_}) && mnuTime->Checked())
    mnuMessageTarget->Click();
  RefreshWindowTitle(services_, state_.SelectedAccount, *form_, *log_);
}
