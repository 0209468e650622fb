#include "scan/autostart_places.h"

#include <unordered_map>

#include "core/absorb.h"
#include "core/registry_layer.h"
#include "core/sealing.h"
#include "core/settings_layout.h"
#include "core/stored_text.h"
#include "platform/ascii_fold.h"

namespace {

using platform::RootKey;
using platform::StartupFolder;

constexpr const char* ModifiedEntry = "*** Modified entry - ";
constexpr const char* RunOnceKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* PolicyRunKey =
    "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run";
constexpr const char* WinlogonKey = "\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

std::optional<std::string> TextOf(const platform::RegistryValue& value) {
  if (!value.IsText()) return std::nullopt;
  return value.bytes;
}

// An entry's data is sealed in its stored form, so that a change the code page cannot
// show still changes the sealed text.
std::string SealedData(platform::Services& services, const std::string& utf8) {
  return SealText(services.volume, StoredForm(services.registry, utf8));
}

bool IsAscii(const std::string& text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

bool Wanted(const AutostartPlace& place, const std::string& name) {
  if (place.values.empty()) return true;
  for (const char* value : place.values)
    if (platform::EqualsFolded(value, name)) return true;
  return false;
}

}  // namespace

const AutostartPlace UserRunPlace{
    "User Run", settings::UserKey, RootKey::CurrentUser, settings::RunKey, {}};
const AutostartPlace LocalRunPlace{
    "Local Run", settings::LocalKey, RootKey::LocalMachine, settings::RunKey, {}};
const AutostartPlace Local32RunPlace{"Local Run (32-bit)",
                                     settings::Local32Key,
                                     RootKey::LocalMachine32,
                                     settings::RunKey,
                                     {},
                                     StartupFolder::User,
                                     true};

const std::vector<AutostartPlace>& StartupPlaces() {
  static const std::vector<AutostartPlace> Places = {
      {"User RunOnce", settings::UserRunOnceKey, RootKey::CurrentUser, RunOnceKey, {}},
      {"Local RunOnce", settings::LocalRunOnceKey, RootKey::LocalMachine, RunOnceKey, {}},
      {"Local RunOnce (32-bit)",
       settings::Local32RunOnceKey,
       RootKey::LocalMachine32,
       RunOnceKey,
       {},
       StartupFolder::User,
       true},
      {"User policy Run", settings::UserPolicyRunKey, RootKey::CurrentUser, PolicyRunKey, {}},
      {"Local policy Run", settings::LocalPolicyRunKey, RootKey::LocalMachine, PolicyRunKey, {}},
      {"User Winlogon",
       settings::UserWinlogonKey,
       RootKey::CurrentUser,
       WinlogonKey,
       {"Shell", "Userinit"}},
      {"Local Winlogon",
       settings::LocalWinlogonKey,
       RootKey::LocalMachine,
       WinlogonKey,
       {"Shell", "Userinit"}},
      {"User Startup folder",
       settings::UserStartupKey,
       RootKey::CurrentUser,
       nullptr,
       {},
       StartupFolder::User},
      {"Common Startup folder",
       settings::CommonStartupKey,
       RootKey::CurrentUser,
       nullptr,
       {},
       StartupFolder::Common},
  };
  return Places;
}

std::vector<const char*> AutostartSnapshotKeys() {
  std::vector<const char*> keys{UserRunPlace.snapshotKey, LocalRunPlace.snapshotKey,
                                Local32RunPlace.snapshotKey};
  for (const AutostartPlace& place : StartupPlaces()) keys.push_back(place.snapshotKey);
  return keys;
}

bool Watched(platform::Services& services, const AutostartPlace& place) {
  return !place.in32BitView || services.registry.HasSeparate32BitView();
}

std::optional<std::vector<platform::NamedValue>> EntriesOf(platform::Services& services,
                                                           const AutostartPlace& place) {
  std::vector<platform::NamedValue> entries;
  if (!place.key) {
    for (platform::StartupItem& item : services.startupFolders.Items(place.folder))
      entries.push_back({std::move(item.name), platform::RegistryValue::Text(item.target)});
    return entries;
  }
  // Read only, and never created: a standard user may read what the machine starts.
  const bool read = Absorb([&] {
    RegistryLayer layer(services.registry);
    layer.SelectRoot(place.root);
    if (!layer.OpenKey(place.key, false, platform::KeyAccess::Read)) return;
    for (platform::NamedValue& value : layer.Values())
      if (Wanted(place, value.name)) entries.push_back(std::move(value));
  });
  if (!read) return std::nullopt;
  return entries;
}

bool WriteSnapshot(platform::Services& services, const AutostartPlace& place,
                   const std::vector<platform::NamedValue>& entries) {
  RegistryLayer snapshot(services.registry);
  bool opened = false;
  if (!Absorb([&] { opened = snapshot.OpenKey(place.snapshotKey, true); })) return false;
  if (!opened) return true;
  for (const platform::NamedValue& entry : entries) {
    // An entry that cannot be read as text is kept as the empty text: its name still
    // counts, and the comparison reports the entry itself at every scan.
    const std::string data = TextOf(entry.value).value_or(std::string());
    // A failure is lost like a failed write; the next comparison reports the gap.
    Absorb([&] { snapshot.WriteTextUtf8(entry.name, SealedData(services, data)); });
  }
  return true;
}

std::optional<bool> CompareWithSnapshot(ScanContext& context, const AutostartPlace& place,
                                        const std::vector<platform::NamedValue>& present,
                                        const std::string& warning) {
  platform::Services& services = context.services;
  RegistryLayer snapshot(services.registry);
  bool haveSnapshot = false;
  if (!Absorb([&] { haveSnapshot = snapshot.OpenKey(place.snapshotKey, false); }))
    return std::nullopt;

  bool warned = false;
  auto warn = [&] {
    context.log.Append(warning);
    context.log.TurnRed();
    context.findings.AutostartChanged = true;
    warned = true;
  };

  const std::vector<platform::NamedValue> stored =
      haveSnapshot ? Absorb(std::vector<platform::NamedValue>(), [&] { return snapshot.Values(); })
                   : std::vector<platform::NamedValue>();
  // Names match without regard to letter case, as the registry matches them.
  std::unordered_map<std::string, const platform::RegistryValue*> byName;
  for (const platform::NamedValue& value : stored)
    byName.emplace(platform::FoldAscii(value.name), &value.value);
  auto storedText = [&](const std::string& name) -> std::optional<std::string> {
    if (const auto it = byName.find(platform::FoldAscii(name)); it != byName.end())
      return TextOf(*it->second);
    // Beyond ASCII only the registry knows which names are the same.
    if (!haveSnapshot || IsAscii(name)) return std::string();
    return Absorb(std::optional<std::string>(), [&] { return snapshot.ReadTextUtf8(name); });
  };

  for (const platform::NamedValue& entry : present) {
    const auto data = TextOf(entry.value);
    // A missing snapshot key reads as an empty one.
    const auto sealed = storedText(entry.name);
    if (!data || !sealed) {
      warn();
    } else if (SealedData(services, *data) != *sealed) {
      warn();
      context.log.Append(ModifiedEntry + ShownForm(services.registry, *data));
    }
  }
  if (present.size() != stored.size()) warn();
  return warned;
}
