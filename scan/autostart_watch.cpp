#include "scan/autostart_watch.h"

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "core/registry_layer.h"
#include "core/sealing.h"
#include "core/settings_layout.h"

namespace {

using platform::MessageAnswer;
using platform::MessageKind;
using platform::RegistryError;

constexpr const char* kRegistryError = "Error opening registry!";
constexpr const char* kFirstTimeQuestion = "Is this the first time you have run Quenlar?";
constexpr const char* kEntriesDeleted =
    "Something has deleted the protection entries from the registry!";
constexpr const char* kSnapshotMissing = "Registry: Warning - Modifications detected!";
constexpr const char* kModifications = "Registry: Warning - modifications detected!";
constexpr const char* kModifiedEntry = "*** Modified entry - ";

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

// Opens the scope's autostart key with full access. A key that cannot be opened just
// holds no entries; false only after an unexpected error, which has been reported.
bool OpenAutostartKey(ScanContext& context, RegistryLayer& layer, AutostartScope scope) {
  layer.SelectRoot(InfoOf(scope).root);
  try {
    layer.OpenKey(settings::RunKey, true);
  } catch (const RegistryError&) {
    ReportRegistryError(context);
    return false;
  }
  return true;
}

// An unexpected error while listing or reading one entry must not stop the others.
std::vector<std::string> NamesOf(RegistryLayer& layer) {
  try {
    return layer.ValueNames();
  } catch (const RegistryError&) {
    return {};
  }
}

std::optional<std::string> TextOf(RegistryLayer& layer, const std::string& name) {
  try {
    return layer.ReadText(name);
  } catch (const RegistryError&) {
    return std::nullopt;
  }
}

void RunFirstTimeSetUp(ScanContext& context) {
  platform::Services& services = context.services;
  // The set-up goes on without the entry: stopping here would leave no snapshot and
  // ask the first-time question again for the other scope.
  try {
    if (context.writeAutostartEntry) context.writeAutostartEntry();
  } catch (const std::exception&) {
    ReportRegistryError(context);
  }
  context.findings.FirstRun = true;
  // A cancelled dialog still holds the preset name, and that is what gets stored.
  const std::string fileName = services.toolkit->ShowOpenDialog(context.dlgExecutable);
  try {
    RegistryLayer product(services.registry);
    if (product.OpenKey(settings::Path.key, true))
      product.WriteText(settings::Path.name, SealText(services.volume, fileName));
  } catch (const RegistryError&) {
    // Treated as a failed write: the checks then fall back to the working directory.
  }
}

void ReportSnapshotMissing(ScanContext& context) {
  context.services.toolkit->ShowMessage(MessageKind::Information, kEntriesDeleted);
  context.log.Append(kSnapshotMissing);
  context.log.TurnRed();
  context.findings.AutostartChanged = true;
}

}  // namespace

void ReportRegistryError(ScanContext& context) {
  context.services.toolkit->ShowMessage(MessageKind::Error, kRegistryError);
  context.log.TurnRed();
}

void SnapshotAutostart(ScanContext& context, AutostartScope scope, bool accepting) {
  platform::Services& services = context.services;
  const ScopeInfo info = InfoOf(scope);
  RegistryLayer autostart(services.registry);
  if (!OpenAutostartKey(context, autostart, scope)) return;

  RegistryLayer snapshot(services.registry);
  try {
    // An existing snapshot is only ever replaced after the caller deleted it.
    if (snapshot.KeyExists(info.snapshotKey)) return;
  } catch (const RegistryError&) {
    ReportRegistryError(context);
    return;
  }

  if (!context.findings.FirstRun && !accepting) {
    if (services.toolkit->ShowMessage(MessageKind::Confirmation, kFirstTimeQuestion) ==
        MessageAnswer::Yes)
      RunFirstTimeSetUp(context);
    else
      ReportSnapshotMissing(context);
  }

  try {
    if (!snapshot.OpenKey(info.snapshotKey, true)) return;
  } catch (const RegistryError&) {
    ReportRegistryError(context);
    return;
  }
  for (const std::string& name : NamesOf(autostart)) {
    // An entry that cannot be read as text is kept as the empty text: its name still
    // counts, and the comparison reports the entry itself at every scan.
    const std::string data = TextOf(autostart, name).value_or(std::string());
    try {
      snapshot.WriteText(name, SealText(services.volume, data));
    } catch (const RegistryError&) {
      // Lost like a failed write; the next comparison reports the gap.
    }
  }
}

void CompareAutostart(ScanContext& context, AutostartScope scope) {
  platform::Services& services = context.services;
  const ScopeInfo info = InfoOf(scope);
  RegistryLayer autostart(services.registry);
  if (!OpenAutostartKey(context, autostart, scope)) return;

  RegistryLayer snapshot(services.registry);
  bool haveSnapshot = false;
  try {
    haveSnapshot = snapshot.OpenKey(info.snapshotKey, false);
  } catch (const RegistryError&) {
    return;
  }

  bool warned = false;
  auto warn = [&] {
    context.log.Append(kModifications);
    context.log.TurnRed();
    context.findings.AutostartChanged = true;
    warned = true;
  };

  const std::vector<std::string> present = NamesOf(autostart);
  const std::vector<std::string> stored =
      haveSnapshot ? NamesOf(snapshot) : std::vector<std::string>();
  for (const std::string& name : present) {
    const auto data = TextOf(autostart, name);
    // A missing snapshot key reads as an empty one.
    const auto sealed = haveSnapshot ? TextOf(snapshot, name) : std::optional<std::string>("");
    if (!data || !sealed) {
      warn();
    } else if (SealText(services.volume, *data) != *sealed) {
      warn();
      context.log.Append(kModifiedEntry + *data);
    }
  }
  if (present.size() != stored.size()) warn();
  if (!warned) context.log.Append(info.completionLine);
}
