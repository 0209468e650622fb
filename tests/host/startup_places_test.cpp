// The places beyond the Run keys: each one watched like a Run key, taken without a
// question on an upgrade, and one line for all of them on a clean start.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "scan/autostart_places.h"
#include "tests/host/scan_test_support.h"

namespace {

using platform::Fault;
using platform::FaultKind;
using platform::RegistryValue;
using platform::RootKey;
using platform::StartupFolder;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr AutostartScope Places = AutostartScope::StartupPlaces;
const std::string Clean = "Autostart: Startup places checks complete";
const std::string NowWatched =
    "Autostart: RunOnce, policy Run, Winlogon and Startup folders are now watched";
constexpr const char* RunOnce = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* PolicyRun =
    "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run";
constexpr const char* Winlogon = "\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

class StartupPlacesTest : public ::testing::Test {
 protected:
  scan_test::ScanMachine m;

  void SetUp() override {
    m.registry().SetValue(RootKey::LocalMachine, Winlogon, "Shell",
                          RegistryValue::Text("explorer.exe"));
    m.registry().SetValue(RootKey::LocalMachine, Winlogon, "Userinit",
                          RegistryValue::Text("C:\\Windows\\system32\\userinit.exe,"));
    m.machine.startupFolders().Put(StartupFolder::User, "Notes.lnk", "C:\\Notes\\notes.exe");
    m.checks->SnapshotAutostart(Places, true);
  }
  void Restart() {
    m.findings = Findings{};
    m.log.ClearBlack();
  }
  void Accept() {
    for (const char* key : AutostartSnapshotKeys()) m.registry().DeleteKey(scan_test::HKCU, key);
    m.checks->SnapshotAutostart(Places, true);
  }
};

TEST_F(StartupPlacesTest, AnEntryInAnyPlaceIsReportedByPlaceThenAccepted) {
  struct Case {
    const char* title;
    std::function<void(scan_test::ScanMachine&)> add;
  };
  auto registry = [](RootKey root, const char* key, const char* name) {
    return [=](scan_test::ScanMachine& m) {
      m.registry().SetValue(root, key, name, RegistryValue::Text("C:\\Temp\\steal.exe"));
    };
  };
  const std::vector<Case> cases = {
      {"User RunOnce", registry(RootKey::CurrentUser, RunOnce, "Once")},
      {"Local RunOnce", registry(RootKey::LocalMachine, RunOnce, "Once")},
      {"Local RunOnce (32-bit)", registry(RootKey::LocalMachine32, RunOnce, "Once")},
      {"User policy Run", registry(RootKey::CurrentUser, PolicyRun, "Policy")},
      {"Local policy Run", registry(RootKey::LocalMachine, PolicyRun, "Policy")},
      {"User Winlogon", registry(RootKey::CurrentUser, Winlogon, "Shell")},
      {"User Startup folder",
       [](scan_test::ScanMachine& m) {
         m.machine.startupFolders().Put(StartupFolder::User, "steal.lnk", "C:\\Temp\\steal.exe");
       }},
      {"Common Startup folder",
       [](scan_test::ScanMachine& m) {
         m.machine.startupFolders().Put(StartupFolder::Common, "steal.exe", "C:\\Temp\\steal.exe");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    Restart();
    c.add(m);
    m.checks->CompareAutostart(Places);
    const std::string warning = std::string("Autostart: Warning - ") + c.title + " modified!";
    EXPECT_THAT(m.lines(),
                ElementsAre(warning, "*** Modified entry - C:\\Temp\\steal.exe", warning));
    EXPECT_TRUE(m.findings.AutostartChanged);
    EXPECT_TRUE(m.red());

    Accept();
    Restart();
    m.checks->CompareAutostart(Places);
    EXPECT_THAT(m.lines(), ElementsAre(Clean));
  }
}

// Winlogon starts only its Shell and Userinit; a changed one is reported by its new data.
TEST_F(StartupPlacesTest, WinlogonIsWatchedForShellAndUserinitOnly) {
  m.registry().SetValue(RootKey::LocalMachine, Winlogon, "AutoRestartShell",
                        RegistryValue::Dword(1));
  m.registry().SetValue(RootKey::LocalMachine, Winlogon, "LastUsedUsername",
                        RegistryValue::Text("x"));
  m.checks->CompareAutostart(Places);
  EXPECT_THAT(m.lines(), ElementsAre(Clean));

  m.registry().SetValue(RootKey::LocalMachine, Winlogon, "Userinit",
                        RegistryValue::Text("C:\\Windows\\system32\\userinit.exe,C:\\t.exe"));
  Restart();
  m.checks->CompareAutostart(Places);
  EXPECT_THAT(m.lines(), ElementsAre("Autostart: Warning - Local Winlogon modified!",
                                     "*** Modified entry - C:\\Windows\\system32\\userinit.exe,"
                                     "C:\\t.exe"));
}

// An older version left the Run keys' snapshots only: the new places are taken quietly,
// said once; a place that cannot be read is left out, not reported.
TEST_F(StartupPlacesTest, AnUpgradeTakesTheNewPlacesWithoutAQuestion) {
  for (const char* key : AutostartSnapshotKeys()) m.registry().DeleteKey(scan_test::HKCU, key);
  m.checks->SnapshotAutostart(Places, false);
  m.checks->CompareAutostart(Places);
  EXPECT_THAT(m.lines(), ElementsAre(NowWatched, Clean));
  EXPECT_THAT(m.boxes(), IsEmpty());
  EXPECT_FALSE(m.red());

  Restart();
  m.registry().SetValue(RootKey::CurrentUser, RunOnce, "Once", RegistryValue::Text("C:\\a.exe"));
  m.registry().faults().Arm(Fault{1, false, FaultKind::Throw, "ReadValuesUtf8"});
  m.checks->SnapshotAutostart(Places, false);
  m.checks->CompareAutostart(Places);
  EXPECT_THAT(m.lines(), ElementsAre(Clean));
  EXPECT_THAT(m.boxes(), IsEmpty());
}

}  // namespace
