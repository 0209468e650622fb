#include "accounts/window_title.h"

#include <string>

#include "accounts/account_key.h"
#include "core/absorb.h"
#include "core/registry_layer.h"
#include "core/sealing.h"
#include "core/settings_layout.h"

namespace {

// The title is cosmetic: an unreadable store must not stop the caller's sequence.
std::string SelectedAccountName(platform::Services& services, int selectedAccount) {
  return Absorb(std::string(), [&] {
    RegistryLayer registry(services.registry);
    registry.OpenKey(AccountKey(), true);
    const auto sealed =
        registry.ReadText(settings::AccountValueName(selectedAccount, settings::AccountNameSuffix));
    return UnsealText(services.volume, sealed.value_or(""));
  });
}

}  // namespace

void RefreshWindowTitle(platform::Services& services, int selectedAccount, platform::Form& form,
                        EventLog& log) {
  const std::string name = SelectedAccountName(services, selectedAccount);
  form.SetCaption("Quenlar - " + name);
  log.Append("Account: " + name);
}
