// The checks of one start-up scan on a machine with 200 autostart entries in each
// scope, every snapshot present and matching: what the player waits for, less the
// driver's fixed pauses. Target: 50 ms or less.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "core/sealing.h"
#include "core/settings_layout.h"
#include "game_client/contract.h"
#include "platform/memory/memory_machine.h"
#include "scan/checks.h"
#include "ui/installation.h"

namespace {

constexpr int EntriesPerScope = 200;
constexpr const char* GamePath = "C:\\Games\\Mir\\mir.exe";

struct Machine {
  platform::MemoryMachine machine;
  platform::Services services = machine.services();
  std::unique_ptr<platform::Form> form = machine.toolkit().CreateForm(platform::FormSpec{}, {});
  platform::Memo& memo = form->AddMemo(platform::MemoSpec{});
  EventLog log{memo};
  Findings findings;
  ScanContext context{services, log, findings, platform::OpenDialogSpec{},
                      [this] { WriteAutostartEntry(services); }};
  std::unique_ptr<IntegrityChecks> checks = MakeIntegrityChecks(context);

  Machine() {
    auto& registry = machine.registry();
    for (int i = 0; i < EntriesPerScope; ++i) {
      const std::string name = "Entry" + std::to_string(i);
      const std::string data = "C:\\Program Files\\Vendor " + std::to_string(i) + "\\tray.exe /s";
      registry.SetValue(platform::RootKey::CurrentUser, settings::RunKey, name,
                        platform::RegistryValue::Text(data));
      registry.SetValue(platform::RootKey::LocalMachine, settings::RunKey, name,
                        platform::RegistryValue::Text(data));
    }
    registry.SetValue(platform::RootKey::CurrentUser, settings::ProductKey, settings::Path.name,
                      platform::RegistryValue::Text(SealText(machine.volume(), GamePath)));
    // A game executable of a realistic size.
    machine.files().AddFile(GamePath, std::string(std::size_t{3} << 20, '\x5a'));
    machine.files().AddFile(
        "C:\\Games\\Mir\\ftp.ini",
        std::string("[ftp]\r\nsite=") + game_client::OfficialPatchSite + "\r\nport=21\r\n");
    checks->SnapshotAutostart(AutostartScope::User, true);
    checks->SnapshotAutostart(AutostartScope::Local, true);
    checks->CheckExecutable(true);
  }
};

void BM_StartUpChecks(benchmark::State& state) {
  Machine m;
  for (auto _ : state) {
    m.log.ClearBlack();
    m.checks->SnapshotAutostart(AutostartScope::User, false);
    m.checks->SnapshotAutostart(AutostartScope::Local, false);
    m.checks->CompareAutostart(AutostartScope::User);
    m.checks->CompareAutostart(AutostartScope::Local);
    m.checks->CheckExecutable(false);
    m.checks->CheckPatcherConfig();
    m.checks->CheckPlantedLibraries();
  }
  // A clean scan logs exactly its five lines; anything else means the set-up is wrong.
  if (m.memo.Lines().size() != 5 || m.memo.FontColor() != platform::colors::Black)
    state.SkipWithError("the scan found something on a clean machine");
}
BENCHMARK(BM_StartUpChecks)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
