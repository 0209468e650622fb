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

constexpr const char* Local32Watched = "Registry: Local 32-bit entries are now watched";

// One autostart key and the snapshot that mirrors it. The machine's scope has two: its
// own view and, on 64-bit Windows, the 32-bit view that 32-bit programs write to.
struct Place {
  platform::RootKey root;
  const char* snapshotKey;
};

constexpr Place UserPlace{platform::RootKey::CurrentUser, settings::UserKey};
constexpr Place LocalPlace{platform::RootKey::LocalMachine, settings::LocalKey};
constexpr Place Local32Place{platform::RootKey::LocalMachine32, settings::Local32Key};

Place MainPlaceOf(AutostartScope scope) {
  return scope == AutostartScope::User ? UserPlace : LocalPlace;
}

const char* CompletionLineOf(AutostartScope scope) {
  return scope == AutostartScope::User ? "Registry: User checks complete"
                                       : "Registry: Local checks complete";
}

bool Watches32BitView(ScanContext& context, AutostartScope scope) {
  return scope == AutostartScope::Local && context.services.registry.HasSeparate32BitView();
}

// Opens the place's autostart key with full access, or for reading where full access
// is refused (a standard user and the machine's key): the entries are watched all the
// same. A key that cannot be opened at all just holds no entries; false only after an
// unexpected error, which has been reported.
bool OpenAutostartKey(ScanContext& context, RegistryLayer& layer, const Place& place) {
  layer.SelectRoot(place.root);
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

// What is sealed for an entry's data: its code-page bytes, exactly as they were always
// sealed, or its UTF-8 bytes when the code page cannot hold it, so that a change still
// changes the sealed text.
std::string SealedData(platform::Services& services, RegistryLayer& layer,
                       const std::string& utf8) {
  std::string text;
  return SealText(services.volume, layer.ToCodePage(utf8, text) ? text : utf8);
}

// The data as the log shows it: the log is code-page text.
std::string Shown(RegistryLayer& layer, const std::string& utf8) {
  std::string text;
  layer.ToCodePage(utf8, text);
  return text;
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
      product.WriteText(settings::Path.name, SealText(services.volume, fileName));
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

namespace {

// Writes every entry of the open autostart key into the place's snapshot key.
void WriteSnapshot(ScanContext& context, RegistryLayer& autostart, const Place& place) {
  RegistryLayer snapshot(context.services.registry);
  bool opened = false;
  if (!Absorb([&] { opened = snapshot.OpenKey(place.snapshotKey, true); }))
    ReportRegistryError(context);
  if (!opened) return;
  for (const platform::NamedValue& entry : ValuesOf(autostart)) {
    // An entry that cannot be read as text is kept as the empty text: its name still
    // counts, and the comparison reports the entry itself at every scan.
    const std::string data = TextOf(entry.value).value_or(std::string());
    // A failure is lost like a failed write; the next comparison reports the gap.
    Absorb(
        [&] { snapshot.WriteTextUtf8(entry.name, SealedData(context.services, autostart, data)); });
  }
}

// The snapshot key's existence, or nothing after an unexpected error, which has been
// reported.
std::optional<bool> SnapshotExists(ScanContext& context, const Place& place) {
  RegistryLayer snapshot(context.services.registry);
  bool exists = false;
  if (!Absorb([&] { exists = snapshot.KeyExists(place.snapshotKey); })) {
    ReportRegistryError(context);
    return std::nullopt;
  }
  return exists;
}

// The 32-bit view joined the watch after the other snapshots were taken: a player who
// upgrades gets its snapshot without a question, and one line saying so.
void Snapshot32BitView(ScanContext& context, bool upgrade) {
  RegistryLayer autostart(context.services.registry);
  if (!OpenAutostartKey(context, autostart, Local32Place)) return;
  const std::optional<bool> exists = SnapshotExists(context, Local32Place);
  if (!exists || *exists) return;
  WriteSnapshot(context, autostart, Local32Place);
  if (upgrade) context.log.Append(Local32Watched);
}

}  // namespace

void SnapshotAutostart(ScanContext& context, AutostartScope scope, bool accepting) {
  platform::Services& services = context.services;
  const Place place = MainPlaceOf(scope);
  RegistryLayer autostart(services.registry);
  if (!OpenAutostartKey(context, autostart, place)) return;

  // An existing snapshot is only ever replaced after the caller deleted it.
  const std::optional<bool> exists = SnapshotExists(context, place);
  if (!exists) return;
  if (!*exists) {
    if (!context.findings.FirstRun && !accepting) {
      context.log.Flush();
      if (services.toolkit.ShowMessage(MessageKind::Confirmation, FirstTimeQuestion) ==
          MessageAnswer::Yes)
        RunFirstTimeSetUp(context);
      else
        ReportSnapshotMissing(context);
    }
    WriteSnapshot(context, autostart, place);
  }
  if (Watches32BitView(context, scope))
    Snapshot32BitView(context, *exists && !accepting && !context.findings.FirstRun);
}

namespace {

// Compares one place's entries with its snapshot and logs what differs. Whether it
// warned, or nothing when an unexpected error ended it.
std::optional<bool> ComparePlace(ScanContext& context, const Place& place) {
  platform::Services& services = context.services;
  RegistryLayer autostart(services.registry);
  if (!OpenAutostartKey(context, autostart, place)) return std::nullopt;

  RegistryLayer snapshot(services.registry);
  bool haveSnapshot = false;
  if (!Absorb([&] { haveSnapshot = snapshot.OpenKey(place.snapshotKey, false); }))
    return std::nullopt;

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
    } else if (SealedData(services, autostart, *data) != *sealed) {
      warn();
      context.log.Append(ModifiedEntry + Shown(autostart, *data));
    }
  }
  if (present.size() != stored.size()) warn();
  return warned;
}

}  // namespace

void CompareAutostart(ScanContext& context, AutostartScope scope) {
  const std::optional<bool> warned = ComparePlace(context, MainPlaceOf(scope));
  if (!warned) return;
  bool warned32 = false;
  if (Watches32BitView(context, scope)) {
    const std::optional<bool> result = ComparePlace(context, Local32Place);
    if (!result) return;
    warned32 = *result;
  }
  // Both views of the machine make one scope, with one completion line.
  if (!*warned && !warned32) context.log.Append(CompletionLineOf(scope));
}
