#include "accounts/window_title.h"

#include <string>

#include "accounts/account_store.h"

void RefreshWindowTitle(platform::Services& services, int selectedAccount, platform::Form& form,
                        EventLog& log) {
  const std::string name = AccountStore(services).Name(selectedAccount);
  form.SetCaption("Quenlar - " + name);
  log.Append("Account: " + name);
}
