// The program's own autostart entry, and removing what the program has stored: the
// configuration reset and the uninstall of the main window's menu.
#pragma once

#include <functional>
#include <string>

#include "lock/utility_lock.h"
#include "platform/services.h"

// Writes the autostart entry "Quenlar" (the program's own path) under the current
// user's Run key, creating the key if needed. Failures reach the caller as exceptions.
void WriteAutostartEntry(platform::Services& services);

// Deletes the autostart entry and the settings tree, sets `skipSettingsSave` and asks
// the application to end once the running handler has finished.
void RemoveInstallation(platform::Services& services, bool& skipSettingsSave);

// The reset command: asks first; on Yes wipes the settings (and with `removeAccounts`
// the game accounts), removes the installation, writes the autostart entry again and
// runs the scan driver once more. Accounts that stay are first taken out from under the
// lock, whose key goes with the settings; if one cannot be, nothing is reset.
void ResetConfiguration(platform::Services& services, bool& skipSettingsSave,
                        const std::function<void()>& runScan, const UtilityLock& lock,
                        bool removeAccounts);

// The uninstall command: asks first; on Yes removes the installation (with
// `removeAccounts` the game accounts too, else first takes them out from under the lock,
// as the reset does) and says so.
void Uninstall(platform::Services& services, bool& skipSettingsSave, const UtilityLock& lock,
               bool removeAccounts);

// A first start (no settings yet) from inside the user's temp folder, where Windows
// puts a program opened from a zip, would point the autostart entry at a folder that is
// soon emptied. Asks whether to go on; true to go on, also when there is nothing to ask.
bool ConfirmFirstStartOutsideTemp(platform::Services& services);

// The installer's removal of the settings, asked for by the command line
// "/uninstall-settings" alone (any letter case, blanks around it): what the uninstall
// command removes, without a window or a question; with the utility password on, the
// game accounts as well. Returns 0 when neither the settings nor the autostart entry are
// left, else 1.
bool IsUninstallSettingsCommand(const std::string& commandLine);
int UninstallSettingsQuietly(platform::Services& services);
