#include "ui/installation.h"

#include <exception>
#include <stdexcept>
#include <string>

#include "accounts/account_key.h"
#include "core/absorb.h"
#include "core/registry_layer.h"
#include "core/settings_layout.h"

namespace {

using platform::MessageAnswer;
using platform::MessageKind;

constexpr const char* ResetQuestion =
    "Do you want to reset the configuration?\rIf you select \"YES\", please answer \"YES\" "
    "to the next question as well!";

// A deletion that fails, expectedly or not, changes nothing the caller could act on.
void DeleteSettingsTree(platform::Registry& registry) {
  Absorb([&] { RegistryLayer(registry).DeleteKey(settings::ProductKey); });
}

}  // namespace

void WriteAutostartEntry(platform::Services& services) {
  const std::string path = services.process.ExecutablePath();
  RegistryLayer layer(services.registry);
  if (!layer.OpenKey(settings::RunKey, true))
    throw std::runtime_error("cannot open the autostart key");
  // Through the wide call: a path the code page cannot hold still names the program.
  if (!layer.WriteTextUtf8(settings::OwnRunEntry, path))
    throw std::runtime_error("cannot write the autostart entry");
}

void RemoveInstallation(platform::Services& services, bool& skipSettingsSave) {
  Absorb([&] {
    RegistryLayer layer(services.registry);
    if (layer.OpenKey(settings::RunKey, true)) layer.DeleteValue(settings::OwnRunEntry);
  });
  DeleteSettingsTree(services.registry);
  skipSettingsSave = true;
  services.toolkit.Terminate();
}

void ResetConfiguration(platform::Services& services, bool& skipSettingsSave,
                        const std::function<void()>& runScan, bool removeAccounts) {
  if (services.toolkit.ShowMessage(MessageKind::Confirmation, ResetQuestion) != MessageAnswer::Yes)
    return;
  DeleteSettingsTree(services.registry);
  if (removeAccounts) Absorb([&] { RegistryLayer(services.registry).DeleteKey(AccountKey()); });
  RemoveInstallation(services, skipSettingsSave);
  if (!Absorb<std::exception>([&] { WriteAutostartEntry(services); })) {
    // The end already requested still stands; the player learns why nothing was set up.
    services.toolkit.ShowMessage(MessageKind::Error, "Error opening registry!");
    return;
  }
  if (runScan) runScan();
}

void Uninstall(platform::Services& services, bool& skipSettingsSave) {
  if (services.toolkit.ShowMessage(MessageKind::Confirmation, "Are you sure?") !=
      MessageAnswer::Yes)
    return;
  RemoveInstallation(services, skipSettingsSave);
  services.toolkit.ShowMessage(MessageKind::Information, "Uninstall complete!");
}
