#include "scan/scan_sequence.h"

#include <utility>

#include "core/absorb.h"
#include "core/registry_layer.h"
#include "core/settings_layout.h"
#include "scan/autostart_places.h"

namespace {

constexpr int StepPauseMs = 300;

constexpr const char* AutostartQuestion =
    "Registry changes were detected!  Are you happy that the changes are not malicious?\n"
    "If you select \"YES\" the progam will accept the new changes!";
constexpr const char* ExecutableQuestion =
    "Executable changes were detected!  Have you upgraded Mir?\n"
    "If you select \"YES\" the progam will accept the new changes!";

// A key that is missing or cannot be removed is left as it is: the player is on the
// way out, and the accepting check that follows still runs.
void DeleteKeyQuietly(platform::Registry& service, const char* path) {
  Absorb([&] { RegistryLayer(service).DeleteKey(path); });
}

}  // namespace

ScanSequence::ScanSequence(platform::Services& services, ScanControls controls, EventLog& log,
                           Findings& findings, IntegrityChecks& checks,
                           std::function<void()> titleRefresh, const std::string& messageTarget)
    : services_(services),
      controls_(controls),
      log_(log),
      findings_(findings),
      checks_(checks),
      titleRefresh_(std::move(titleRefresh)),
      messageTarget_(messageTarget) {}

void ScanSequence::tmrScanTimer() {
  controls_.tmrScan.SetEnabled(false);
  RunScan();
  Guarded([&] { checks_.CheckPatcherConfig(); });
  Guarded([&] { checks_.CheckPlantedLibraries(); });
  if (titleRefresh_) titleRefresh_();
  log_.Append("Message Target: " +
              (messageTarget_.empty() ? std::string("<public message>") : messageTarget_));
}

void ScanSequence::RunScan() {
  services_.cursor.Set(platform::crHourGlass);
  services_.toolkit.ProcessMessages();
  SetButtonsEnabled(false);
  log_.ClearBlack();
  controls_.animScan.SetActive(true);

  Guarded([&] { checks_.SnapshotAutostart(AutostartScope::User, false); });
  Pause();
  Guarded([&] { checks_.SnapshotAutostart(AutostartScope::Local, false); });
  Guarded([&] { checks_.SnapshotAutostart(AutostartScope::StartupPlaces, false); });
  Pause();
  // A first-time setup in this scan has just written the snapshots: nothing to compare.
  if (!findings_.FirstRun) Guarded([&] { checks_.CompareAutostart(AutostartScope::User); });
  Pause();
  if (!findings_.FirstRun) {
    Guarded([&] { checks_.CompareAutostart(AutostartScope::Local); });
    Guarded([&] { checks_.CompareAutostart(AutostartScope::StartupPlaces); });
  }
  Pause();
  Guarded([&] { checks_.CheckExecutable(false); });

  SetButtonsEnabled(true);
  controls_.animScan.SetActive(false);
  services_.cursor.Set(platform::crDefault);
}

void ScanSequence::btnCloseClick() {
  // The two questions are independent: a No to the first still asks the second.
  if (findings_.AutostartChanged && Confirmed(AutostartQuestion)) AcceptAutostart();
  if (findings_.ExecutableChanged && Confirmed(ExecutableQuestion)) AcceptExecutable();
  controls_.form.Close();
}

void ScanSequence::Guarded(const std::function<void()>& check) {
  // The checks report the failures they know; anything else ends only that check.
  // The scan goes on and the buttons come back, and a check that could not finish
  // must not pass for a clean one.
  if (!AbsorbNoted(services_.trace, "a check of the scan", check)) log_.TurnRed();
}

void ScanSequence::Pause() {
  services_.toolkit.ProcessMessages();
  services_.clock.Sleep(StepPauseMs);
}

void ScanSequence::SetButtonsEnabled(bool enabled) {
  controls_.btnClose.SetEnabled(enabled);
  controls_.btnPlay.SetEnabled(enabled);
  controls_.btnAccount.SetEnabled(enabled);
}

bool ScanSequence::Confirmed(const std::string& question) {
  return services_.toolkit.ShowMessage(platform::MessageKind::Confirmation, question) ==
         platform::MessageAnswer::Yes;
}

void ScanSequence::AcceptAutostart() {
  // With the snapshots gone, the accepting calls write fresh ones without asking.
  for (const char* key : AutostartSnapshotKeys()) DeleteKeyQuietly(services_.registry, key);
  Guarded([&] { checks_.SnapshotAutostart(AutostartScope::User, true); });
  Guarded([&] { checks_.SnapshotAutostart(AutostartScope::Local, true); });
  Guarded([&] { checks_.SnapshotAutostart(AutostartScope::StartupPlaces, true); });
}

void ScanSequence::AcceptExecutable() {
  DeleteKeyQuietly(services_.registry, settings::ChecksumKey);
  Guarded([&] { checks_.CheckExecutable(true); });
}
