#include "ui/installation.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "accounts/account_store.h"
#include "core/absorb.h"
#include "core/registry_layer.h"
#include "core/settings_layout.h"

namespace {

using platform::MessageAnswer;
using platform::MessageKind;

constexpr const char* ResetQuestion =
    "Do you want to reset the configuration?\rIf you select \"YES\", please answer \"YES\" "
    "to the next question as well!";

// The lock's key goes with the settings: accounts that are to stay must first be taken
// out from under it. False, after saying so, when one could not be.
bool AccountsOutFromUnderLock(platform::Services& services, const UtilityLock& lock,
                              const std::string& what) {
  if (!lock.On() || AccountStore(services, lock).ReleaseLock()) return true;
  services.toolkit.ShowMessage(MessageKind::Error,
                               "Not every stored game account could be taken out from under the "
                               "utility password, so nothing was " +
                                   what + ".\rPlease try again.");
  return false;
}

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
                        const std::function<void()>& runScan, const UtilityLock& lock,
                        bool removeAccounts) {
  if (services.toolkit.ShowMessage(MessageKind::Confirmation, ResetQuestion) != MessageAnswer::Yes)
    return;
  if (!removeAccounts && !AccountsOutFromUnderLock(services, lock, "reset")) return;
  DeleteSettingsTree(services.registry);
  if (removeAccounts) AccountStore(services).RemoveAll();
  RemoveInstallation(services, skipSettingsSave);
  if (!Absorb<std::exception>([&] { WriteAutostartEntry(services); })) {
    // The end already requested still stands; the player learns why nothing was set up.
    services.toolkit.ShowMessage(MessageKind::Error, "Error opening registry!");
    return;
  }
  if (runScan) runScan();
}

void Uninstall(platform::Services& services, bool& skipSettingsSave, const UtilityLock& lock,
               bool removeAccounts) {
  if (services.toolkit.ShowMessage(MessageKind::Confirmation, "Are you sure?") !=
      MessageAnswer::Yes)
    return;
  if (!removeAccounts && !AccountsOutFromUnderLock(services, lock, "removed")) return;
  if (removeAccounts) AccountStore(services).RemoveAll();
  RemoveInstallation(services, skipSettingsSave);
  services.toolkit.ShowMessage(MessageKind::Information, "Uninstall complete!");
}

namespace {

bool SameAsciiFolded(char a, char b) {
  auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  return fold(a) == fold(b);
}

bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), SameAsciiFolded);
}

// Paths compare without regard to letter case, as the file system does.
bool IsInside(const std::string& path, const std::string& folder) {
  return !folder.empty() && path.size() > folder.size() &&
         std::equal(folder.begin(), folder.end(), path.begin(), SameAsciiFolded);
}

bool StoredInstallationRemains(platform::Registry& registry) {
  RegistryLayer layer(registry);
  return Absorb(true, [&] {
    if (layer.KeyExists(settings::ProductKey)) return true;
    if (!layer.OpenKey(settings::RunKey, false, platform::KeyAccess::Read)) return false;
    const std::vector<std::string> names = layer.ValueNames();
    return std::any_of(names.begin(), names.end(), [](const std::string& name) {
      return SameText(name, settings::OwnRunEntry);
    });
  });
}

}  // namespace

bool ConfirmFirstStartOutsideTemp(platform::Services& services) {
  const bool firstStart = Absorb(
      false, [&] { return !RegistryLayer(services.registry).KeyExists(settings::ProductKey); });
  if (!firstStart) return true;
  const std::string path = services.process.ExecutablePath();
  if (!IsInside(path, services.process.TempDirectory())) return true;
  const std::string question =
      "Quenlar is running from a temporary folder:\r\r" + path +
      "\r\rWindows may empty this folder at any time, and Quenlar would then no longer start "
      "with Windows. Install Quenlar with its setup program, or unzip it into a folder of its "
      "own and start it from there.\r\rContinue anyway?";
  return services.toolkit.ShowMessage(MessageKind::Confirmation, question) == MessageAnswer::Yes;
}

bool IsUninstallSettingsCommand(const std::string& commandLine) {
  const auto first = commandLine.find_first_not_of(" \t");
  if (first == std::string::npos) return false;
  const auto last = commandLine.find_last_not_of(" \t");
  return SameText(commandLine.substr(first, last - first + 1), "/uninstall-settings");
}

int UninstallSettingsQuietly(platform::Services& services) {
  bool skipSettingsSave = false;  // no window here to save anything
  // Nobody is asked for the utility password here: with it on, the accounts go too,
  // rather than stay open to whoever starts the program next.
  const bool locked = Absorb(false, [&] {
    RegistryLayer layer(services.registry);
    return layer.OpenKey(settings::AccessKey, false, platform::KeyAccess::Read) &&
           layer.ReadInteger(settings::Validate.name) == 1;
  });
  if (locked) AccountStore(services).RemoveAll();
  RemoveInstallation(services, skipSettingsSave);
  return StoredInstallationRemains(services.registry) ? 1 : 0;
}
