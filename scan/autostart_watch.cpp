#include "scan/autostart_watch.h"

#include <exception>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/absorb.h"
#include "core/registry_layer.h"
#include "core/sealing.h"
#include "core/settings_layout.h"
#include "core/stored_text.h"

namespace {

using platform::MessageAnswer;
using platform::MessageKind;

constexpr const char* RegistryErrorText = "Error opening registry!";
constexpr const char* FirstTimeQuestion = "Is this the first time you have run Quenlar?";
constexpr const char* EntriesDeleted =
    "Something has deleted the protection entries from the registry!";
constexpr const char* SnapshotMissing = "Registry: Warning - Modifications detected!";
constexpr const char* Modifications = "Registry: Warning - modifications detected!";
constexpr const char* ModifiedEntry = "*** Modified entry - ";

struct ScopeInfo {
  platform::RootKey root;
  const char* snapshotKey;
  const char* completionLine;
};

ScopeInfo InfoOf(AutostartScope scope) {
  if (scope == AutostartScope::User)
    return {platform::RootKey::CurrentUser, settings::UserKey, "Registry: User checks complete"};
  return {platform::RootKey::LocalMachine, settings::LocalKey, "Registry: Local checks complete"};
}

// Opens the scope's autostart key with full access, or for reading where full access
// is refused (a standard user and the machine's key): the entries are watched all the
// same. A key that cannot be opened at all just holds no entries; false only after an
// unexpected error, which has been reported.
bool OpenAutostartKey(ScanContext& context, RegistryLayer& layer, AutostartScope scope) {
  layer.SelectRoot(InfoOf(scope).root);
  const bool opened = Absorb([&] {
    if (!layer.OpenKey(settings::RunKey, true))
      layer.OpenKey(settings::RunKey, false, platform::KeyAccess::Read);
  });
  if (!opened) ReportRegistryError(context);
  return opened;
}

// Entries are listed and read through the wide calls in one pass, so that a name the
// code page cannot hold keeps its own identity. An unexpected error while listing reads
// as no entries.
std::vector<platform::NamedValue> ValuesOf(RegistryLayer& layer) {
  return Absorb(std::vector<platform::NamedValue>(), [&] { return layer.Values(); });
}

std::optional<std::string> TextOf(const platform::RegistryValue& value) {
  if (!value.IsText()) return std::nullopt;
  return value.bytes;
}

// An entry's data is sealed in its stored form, so that a change the code page cannot
// show still changes the sealed text.
std::string SealedData(platform::Services& services, const std::string& utf8) {
  return SealText(services.volume, StoredForm(services.registry, utf8));
}

std::string FoldAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

bool IsAscii(const std::string& text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

void RunFirstTimeSetUp(ScanContext& context) {
  platform::Services& services = context.services;
  // The set-up goes on without the entry: stopping here would leave no snapshot and
  // ask the first-time question again for the other scope.
  if (!Absorb<std::exception>([&] {
        if (context.writeAutostartEntry) context.writeAutostartEntry();
      }))
    ReportRegistryError(context);
  context.findings.FirstRun = true;
  // A cancelled dialog still holds the preset name, and that is what gets stored.
  context.log.Flush();
  const std::string fileName = services.toolkit.ShowOpenDialog(context.dlgExecutable);
  // A failure is treated as a failed write: the checks then fall back to the working
  // directory.
  Absorb([&] {
    RegistryLayer product(services.registry);
    if (product.OpenKey(settings::Path.key, true))
      product.WriteText(settings::Path.name,
                        SealText(services.volume, StoredForm(services.registry, fileName)));
  });
}

void ReportSnapshotMissing(ScanContext& context) {
  context.log.Flush();
  context.services.toolkit.ShowMessage(MessageKind::Information, EntriesDeleted);
  context.log.Append(SnapshotMissing);
  context.log.TurnRed();
  context.findings.AutostartChanged = true;
}

}  // namespace

void ReportRegistryError(ScanContext& context) {
  context.log.Flush();  // the box lets the window repaint
  context.services.toolkit.ShowMessage(MessageKind::Error, RegistryErrorText);
  context.log.TurnRed();
}

void SnapshotAutostart(ScanContext& context, AutostartScope scope, bool accepting) {
  platform::Services& services = context.services;
  const ScopeInfo info = InfoOf(scope);
  RegistryLayer autostart(services.registry);
  if (!OpenAutostartKey(context, autostart, scope)) return;

  RegistryLayer snapshot(services.registry);
  // An existing snapshot is only ever replaced after the caller deleted it.
  bool exists = false;
  if (!Absorb([&] { exists = snapshot.KeyExists(info.snapshotKey); })) {
    ReportRegistryError(context);
    return;
  }
  if (exists) return;

  if (!context.findings.FirstRun && !accepting) {
    context.log.Flush();
    if (services.toolkit.ShowMessage(MessageKind::Confirmation, FirstTimeQuestion) ==
        MessageAnswer::Yes)
      RunFirstTimeSetUp(context);
    else
      ReportSnapshotMissing(context);
  }

  bool opened = false;
  if (!Absorb([&] { opened = snapshot.OpenKey(info.snapshotKey, true); }))
    ReportRegistryError(context);
  if (!opened) return;
  for (const platform::NamedValue& entry : ValuesOf(autostart)) {
    // An entry that cannot be read as text is kept as the empty text: its name still
    // counts, and the comparison reports the entry itself at every scan.
    const std::string data = TextOf(entry.value).value_or(std::string());
    // A failure is lost like a failed write; the next comparison reports the gap.
    Absorb([&] { snapshot.WriteTextUtf8(entry.name, SealedData(services, data)); });
  }
}

void CompareAutostart(ScanContext& context, AutostartScope scope) {
  platform::Services& services = context.services;
  const ScopeInfo info = InfoOf(scope);
  RegistryLayer autostart(services.registry);
  if (!OpenAutostartKey(context, autostart, scope)) return;

  RegistryLayer snapshot(services.registry);
  bool haveSnapshot = false;
  if (!Absorb([&] { haveSnapshot = snapshot.OpenKey(info.snapshotKey, false); })) return;

  bool warned = false;
  auto warn = [&] {
    context.log.Append(Modifications);
    context.log.TurnRed();
    context.findings.AutostartChanged = true;
    warned = true;
  };

  const std::vector<platform::NamedValue> present = ValuesOf(autostart);
  const std::vector<platform::NamedValue> stored =
      haveSnapshot ? ValuesOf(snapshot) : std::vector<platform::NamedValue>();
  // Names match without regard to letter case, as the registry matches them.
  std::unordered_map<std::string, const platform::RegistryValue*> byName;
  for (const platform::NamedValue& value : stored)
    byName.emplace(FoldAscii(value.name), &value.value);
  auto storedText = [&](const std::string& name) -> std::optional<std::string> {
    if (const auto it = byName.find(FoldAscii(name)); it != byName.end())
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
  if (!warned) context.log.Append(info.completionLine);
}
