// The places Windows starts programs from at logon, each mirrored by a sealed snapshot:
// one value per entry, named as the entry, its data sealed (code-page bytes where the
// code page holds them, as always, else UTF-8 bytes).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/services.h"
#include "platform/startup_folders.h"
#include "scan/checks.h"

struct AutostartPlace {
  const char* title;        // as a finding names it
  const char* snapshotKey;  // under the current user, beside the other settings
  platform::RootKey root;
  const char* key;  // the registry key, or nullptr for a Startup folder
  // Only these values of the key start something; empty: every value does.
  std::vector<const char*> values;
  platform::StartupFolder folder = platform::StartupFolder::User;
  // Only where the machine has a 32-bit view of its own.
  bool in32BitView = false;
};

// The Run keys: the current user's, the machine's, and the machine's 32-bit view.
extern const AutostartPlace UserRunPlace;
extern const AutostartPlace LocalRunPlace;
extern const AutostartPlace Local32RunPlace;
// RunOnce, the Explorer policies' Run keys, Winlogon's Shell and Userinit, and the two
// Startup folders.
const std::vector<AutostartPlace>& StartupPlaces();
// Every snapshot key of every place, to forget them all when changes are accepted.
std::vector<const char*> AutostartSnapshotKeys();

bool Watched(platform::Services& services, const AutostartPlace& place);

// The place's entries as UTF-8 names with their values; a place that is missing or
// cannot be read holds none. Nothing after an unexpected registry error.
std::optional<std::vector<platform::NamedValue>> EntriesOf(platform::Services& services,
                                                           const AutostartPlace& place);

// Writes the entries into the place's snapshot key, creating it. False only after an
// unexpected error while creating it.
bool WriteSnapshot(platform::Services& services, const AutostartPlace& place,
                   const std::vector<platform::NamedValue>& entries);

// Compares the entries with the place's snapshot (a missing one reads as empty) and logs
// `warning` with each difference, as the Run keys have always been compared. Whether it
// warned; nothing when the snapshot could not be opened for an unexpected reason.
std::optional<bool> CompareWithSnapshot(ScanContext& context, const AutostartPlace& place,
                                        const std::vector<platform::NamedValue>& present,
                                        const std::string& warning);
