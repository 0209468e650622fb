#include "scan/autostart_watch.h"

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "core/absorb.h"
#include "core/registry_layer.h"
#include "core/sealing.h"
#include "core/settings_layout.h"
#include "core/stored_text.h"
#include "scan/autostart_places.h"

namespace {

using platform::MessageAnswer;
using platform::MessageKind;

constexpr const char* RegistryErrorText = "Error opening registry!";
constexpr const char* FirstTimeQuestion = "Is this the first time you have run Quenlar?";
constexpr const char* EntriesDeleted =
    "Something has deleted the protection entries from the registry!";
constexpr const char* SnapshotMissing = "Registry: Warning - Modifications detected!";
constexpr const char* Modifications = "Registry: Warning - modifications detected!";
constexpr const char* Local32Watched = "Registry: Local 32-bit entries are now watched";
constexpr const char* StartupPlacesWatched =
    "Autostart: RunOnce, policy Run, Winlogon and Startup folders are now watched";
constexpr const char* StartupPlacesClean = "Autostart: Startup places checks complete";

std::string StartupPlaceWarning(const AutostartPlace& place) {
  return std::string("Autostart: Warning - ") + place.title + " modified!";
}

const AutostartPlace& RunPlaceOf(AutostartScope scope) {
  return scope == AutostartScope::User ? UserRunPlace : LocalRunPlace;
}

const char* CompletionLineOf(AutostartScope scope) {
  return scope == AutostartScope::User ? "Registry: User checks complete"
                                       : "Registry: Local checks complete";
}

// Opens the Run key with full access, or for reading where full access is refused (a
// standard user and the machine's key): the entries are watched all the same. A key
// that cannot be opened at all just holds no entries; false only after an unexpected
// error, which has been reported.
bool OpenRunKey(ScanContext& context, RegistryLayer& layer, const AutostartPlace& place) {
  layer.SelectRoot(place.root);
  const bool opened = Absorb([&] {
    if (!layer.OpenKey(place.key, true)) layer.OpenKey(place.key, false, platform::KeyAccess::Read);
  });
  if (!opened) ReportRegistryError(context);
  return opened;
}

// The Run key's entries, read through the wide calls in one pass so that a name the code
// page cannot hold keeps its identity. An unexpected error while listing reads as no
// entries.
std::vector<platform::NamedValue> ValuesOf(platform::Trace& trace, RegistryLayer& layer) {
  std::vector<platform::NamedValue> values;
  AbsorbNoted<platform::RegistryError>(trace, "listing an autostart key",
                                       [&] { values = layer.Values(); });
  return values;
}

// Nothing when the key could not be opened for an unexpected reason.
std::optional<std::vector<platform::NamedValue>> RunEntries(ScanContext& context,
                                                            const AutostartPlace& place) {
  RegistryLayer layer(context.services.registry);
  if (!OpenRunKey(context, layer, place)) return std::nullopt;
  return ValuesOf(context.services.trace, layer);
}

// The snapshot key's existence, or nothing after an unexpected error, which has been
// reported.
std::optional<bool> SnapshotExists(ScanContext& context, const AutostartPlace& place) {
  RegistryLayer snapshot(context.services.registry);
  bool exists = false;
  if (!Absorb([&] { exists = snapshot.KeyExists(place.snapshotKey); })) {
    ReportRegistryError(context);
    return std::nullopt;
  }
  return exists;
}

void WriteRunSnapshot(ScanContext& context, const AutostartPlace& place,
                      const std::vector<platform::NamedValue>& entries) {
  if (!WriteSnapshot(context.services, place, entries)) ReportRegistryError(context);
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

// The 32-bit view joined the watch after the other snapshots were taken: a player who
// upgrades gets its snapshot without a question, and one line saying so.
void Snapshot32BitView(ScanContext& context, bool upgrade) {
  RegistryLayer autostart(context.services.registry);
  if (!OpenRunKey(context, autostart, Local32RunPlace)) return;
  const std::optional<bool> exists = SnapshotExists(context, Local32RunPlace);
  if (!exists || *exists) return;
  WriteRunSnapshot(context, Local32RunPlace, ValuesOf(context.services.trace, autostart));
  if (upgrade) context.log.Append(Local32Watched);
}

// The other places are never asked about: their snapshots go with the Run keys' at the
// first run, and a player who upgrades is told once that they are watched now.
void SnapshotStartupPlaces(ScanContext& context, bool accepting) {
  platform::Services& services = context.services;
  bool taken = false;
  for (const AutostartPlace& place : StartupPlaces()) {
    if (!Watched(services, place)) continue;
    bool exists = true;
    if (!AbsorbNoted<platform::RegistryError>(services.trace, "looking for a snapshot", [&] {
          exists = RegistryLayer(services.registry).KeyExists(place.snapshotKey);
        }))
      continue;
    if (exists) continue;
    const auto entries = EntriesOf(services, place);
    if (entries && WriteSnapshot(services, place, *entries)) taken = true;
  }
  // Not an upgrade when the Run keys' snapshots were missing too (a first run, or the
  // protection entries deleted): that has been said already.
  if (taken && !accepting && !context.findings.FirstRun && !context.findings.AutostartChanged)
    context.log.Append(StartupPlacesWatched);
}

void CompareStartupPlaces(ScanContext& context) {
  bool warned = false;
  for (const AutostartPlace& place : StartupPlaces()) {
    if (!Watched(context.services, place)) continue;
    const auto entries = EntriesOf(context.services, place);
    if (!entries) continue;
    const auto result = CompareWithSnapshot(context, place, *entries, StartupPlaceWarning(place));
    if (result && *result) warned = true;
  }
  if (!warned) context.log.Append(StartupPlacesClean);
}

// Whether the Run place warned; nothing when an unexpected error ended it.
std::optional<bool> CompareRunPlace(ScanContext& context, const AutostartPlace& place) {
  const auto entries = RunEntries(context, place);
  if (!entries) return std::nullopt;
  return CompareWithSnapshot(context, place, *entries, Modifications);
}

}  // namespace

void ReportRegistryError(ScanContext& context) {
  context.log.Flush();  // the box lets the window repaint
  context.services.toolkit.ShowMessage(MessageKind::Error, RegistryErrorText);
  context.log.TurnRed();
}

void SnapshotAutostart(ScanContext& context, AutostartScope scope, bool accepting) {
  if (scope == AutostartScope::StartupPlaces) return SnapshotStartupPlaces(context, accepting);
  platform::Services& services = context.services;
  const AutostartPlace& place = RunPlaceOf(scope);
  RegistryLayer autostart(services.registry);
  if (!OpenRunKey(context, autostart, place)) return;

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
    WriteRunSnapshot(context, place, ValuesOf(context.services.trace, autostart));
  }
  if (scope == AutostartScope::Local && Watched(services, Local32RunPlace))
    Snapshot32BitView(context, *exists && !accepting && !context.findings.FirstRun);
}

void CompareAutostart(ScanContext& context, AutostartScope scope) {
  if (scope == AutostartScope::StartupPlaces) return CompareStartupPlaces(context);
  const std::optional<bool> warned = CompareRunPlace(context, RunPlaceOf(scope));
  if (!warned) return;
  bool warned32 = false;
  if (scope == AutostartScope::Local && Watched(context.services, Local32RunPlace)) {
    const std::optional<bool> result = CompareRunPlace(context, Local32RunPlace);
    if (!result) return;
    warned32 = *result;
  }
  // Both views of the machine make one scope, with one completion line.
  if (!*warned && !warned32) context.log.Append(CompletionLineOf(scope));
}
