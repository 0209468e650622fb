// The main window on the in-memory machine, with integrity checks that record what the
// scan asks of them and let a test act from inside a check.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/sealing.h"
#include "core/settings_layout.h"
#include "scan/checks.h"
#include "tests/support/simulated_machine.h"
#include "ui/ufrmQuenlar.h"

namespace main_window_test {

struct CheckCall {
  std::string what;  // "SnapshotAutostart User false", "CheckExecutable true", ...
  std::int64_t atMs;
  int pumpsBefore;  // ProcessMessages calls made before this check began
};

class RecordingChecks : public IntegrityChecks {
 public:
  RecordingChecks(ScanContext& context, platform::SimulatedMachine& machine)
      : context(context), machine_(machine) {}

  void SnapshotAutostart(AutostartScope scope, bool accepting) override {
    Record(std::string("SnapshotAutostart ") + Scope(scope) + (accepting ? " true" : " false"));
  }
  void CompareAutostart(AutostartScope scope) override {
    Record(std::string("CompareAutostart ") + Scope(scope));
  }
  void CheckExecutable(bool accepting) override {
    Record(std::string("CheckExecutable ") + (accepting ? "true" : "false"));
  }
  void CheckPatcherConfig() override { Record("CheckPatcherConfig"); }
  void CheckPlantedLibraries() override { Record("CheckPlantedLibraries"); }

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& call : calls) names.push_back(call.what);
    return names;
  }

  ScanContext& context;
  std::vector<CheckCall> calls;
  // Runs inside every check, after it is recorded, with the check's description.
  std::function<void(const std::string&)> during;

 private:
  static const char* Scope(AutostartScope scope) {
    if (scope == AutostartScope::StartupPlaces) return "StartupPlaces";
    return scope == AutostartScope::User ? "User" : "Local";
  }
  void Record(const std::string& what) {
    calls.push_back({what, machine_.clock().nowMs(), machine_.toolkit().processMessagesCalls()});
    if (during) during(what);
  }

  platform::SimulatedMachine& machine_;
};

class MainWindowTest : public ::testing::Test {
 protected:
  static constexpr auto HKCU = platform::RootKey::CurrentUser;

  platform::SimulatedMachine machine;
  platform::Services services = machine.services();
  platform::MemoryRegistry& registry = machine.registry();
  platform::MemoryToolkit& toolkit = machine.toolkit();
  RecordingChecks* checks = nullptr;
  std::unique_ptr<TfrmQuenlar> frm;

  // Builds the main window (FormCreate runs) and shows it, as the entry does.
  void Create() {
    frm = std::make_unique<TfrmQuenlar>(services, [this](ScanContext& context) {
      auto made = std::make_unique<RecordingChecks>(context, machine);
      checks = made.get();
      return made;
    });
    frm->form().Show();
  }
  // Lets the scan timer fire and the whole sequence run.
  void Scan() { toolkit.RunFor(250); }
  void Destroy() {
    checks = nullptr;
    frm.reset();
  }

  platform::MemoryForm& form() { return platform::MemoryToolkit::Of(frm->form()); }
  std::vector<std::string> LogLines() { return frm->mmoEvents->Lines(); }
  std::string Seal(const std::string& plain) { return SealText(machine.volume(), plain); }
  void SetAccess(const char* name, platform::RegistryValue value) {
    registry.SetValue(HKCU, settings::AccessKey, name, std::move(value));
  }
  // A game at its main screen, with the player's own text on the clipboard.
  platform::SimulatedGameClient& GameInPlay() {
    auto& game = machine.games().Launch({});
    game.ShowLoginScreen();
    machine.desktop().PostKeyDown(game.passwordField(), 13);
    machine.desktop().PostKeyUp(game.passwordField(), 13);
    toolkit.RunFor(10);
    machine.desktop().SetClipboard("player text");
    return game;
  }
};

}  // namespace main_window_test
