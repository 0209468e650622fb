#include "ui/installation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/host/scan_test_support.h"
#include "ui/program.h"

namespace {

using platform::Fault;
using platform::FaultKind;
using platform::RegistryValue;
using scan_test::Box;
using scan_test::HKCU;
using scan_test::MessageAnswer;
using scan_test::MessageKind;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const char* const Keyring = "\\Software\\Palvex\\Keyring";
const std::string ResetQuestion =
    "Do you want to reset the configuration?\rIf you select \"YES\", please answer \"YES\" to "
    "the next question as well!";

class InstallationTest : public ::testing::Test {
 protected:
  scan_test::ScanMachine m;
  bool skip = false;
  UtilityLock lock{m.services};
  int scans = 0;

  void SetUp() override {
    m.SetRunEntry(HKCU, "Quenlar", "C:\\Old\\Quenlar.exe");
    m.SetRunEntry(HKCU, "Messenger", "C:\\chat.exe");
    m.StorePath("C:\\Games\\Mir\\mir.exe");
    m.registry().SetValue(HKCU, settings::UserKey, "Messenger", RegistryValue::Text("x"));
    m.registry().SetValue(HKCU, Keyring, "1N", RegistryValue::Text("sealed"));
  }
  bool Installed() {
    return m.registry().HasKey(HKCU, settings::ProductKey) ||
           m.registry().Text(HKCU, settings::RunKey, "Quenlar").has_value();
  }
  void ExpectUntouched() {
    EXPECT_EQ(m.registry().Text(HKCU, settings::RunKey, "Quenlar"), "C:\\Old\\Quenlar.exe");
    EXPECT_TRUE(m.registry().HasKey(HKCU, settings::UserKey));
    EXPECT_FALSE(skip);
    EXPECT_FALSE(m.toolkit().terminateRequested());
    EXPECT_EQ(scans, 0);
  }
  void Reset() {
    ResetConfiguration(
        m.services, skip, [this] { ++scans; }, lock, false);
  }
};

TEST_F(InstallationTest, AnsweringNoChangesNothing) {
  m.Answer("Are you sure?", MessageAnswer::No);
  m.Answer(ResetQuestion, MessageAnswer::No);
  Uninstall(m.services, skip, lock, false);
  Reset();
  EXPECT_THAT(m.boxes(), ElementsAre(Box{MessageKind::Confirmation, "Are you sure?"},
                                     Box{MessageKind::Confirmation, ResetQuestion}));
  ExpectUntouched();
}

TEST_F(InstallationTest, UninstallRemovesEntryAndSettingsOnly) {
  m.Answer("Are you sure?", MessageAnswer::Yes);
  Uninstall(m.services, skip, lock, false);
  EXPECT_THAT(m.boxes(), ElementsAre(Box{MessageKind::Confirmation, "Are you sure?"},
                                     Box{MessageKind::Information, "Uninstall complete!"}));
  EXPECT_FALSE(Installed());
  EXPECT_EQ(m.registry().Text(HKCU, settings::RunKey, "Messenger"), "C:\\chat.exe");
  EXPECT_EQ(m.registry().Text(HKCU, Keyring, "1N"), "sealed");
  EXPECT_TRUE(skip);
  EXPECT_TRUE(m.toolkit().terminateRequested());
}

TEST_F(InstallationTest, RemovingWhatIsAlreadyGoneIsNoError) {
  bool first = false;
  RemoveInstallation(m.services, first);
  bool second = false;
  RemoveInstallation(m.services, second);
  EXPECT_TRUE(second);
  EXPECT_TRUE(m.toolkit().terminateRequested());
  EXPECT_THAT(m.boxes(), IsEmpty());
}

TEST_F(InstallationTest, UnexpectedRegistryErrorsStillEndTheProgram) {
  m.registry().faults().FailFrom(1, FaultKind::Throw);
  RemoveInstallation(m.services, skip);
  EXPECT_TRUE(skip);
  EXPECT_TRUE(m.toolkit().terminateRequested());
}

TEST_F(InstallationTest, ResetRunsTheScanAfterTheEntryIsBack) {
  m.machine.process().SetExecutablePath("E:\\Copy\\Quenlar.exe");
  bool entryBeforeScan = false;
  bool settingsGoneBeforeScan = false;
  m.Answer(ResetQuestion, MessageAnswer::Yes);
  ResetConfiguration(
      m.services, skip,
      [&] {
        ++scans;
        entryBeforeScan =
            m.registry().Text(HKCU, settings::RunKey, "Quenlar") == "E:\\Copy\\Quenlar.exe";
        settingsGoneBeforeScan = !m.registry().HasKey(HKCU, settings::ProductKey);
      },
      lock, false);
  EXPECT_EQ(scans, 1);
  EXPECT_TRUE(entryBeforeScan);
  EXPECT_TRUE(settingsGoneBeforeScan);
  EXPECT_TRUE(skip);
  EXPECT_TRUE(m.toolkit().terminateRequested());
  EXPECT_EQ(m.registry().Text(HKCU, Keyring, "1N"), "sealed");
}

TEST_F(InstallationTest, ResetWithTheFirstRunAnsweredYesStoresAFreshSnapshot) {
  m.Answer(ResetQuestion, MessageAnswer::Yes);
  m.Answer(scan_test::FirstTimeQuestion, MessageAnswer::Yes);
  m.toolkit().ScriptOpenDialog("D:\\Mir\\mir.exe");
  m.files().AddFile("D:\\Mir\\mir.exe", "MZ");
  ResetConfiguration(
      m.services, skip,
      [&] {
        m.checks->SnapshotAutostart(AutostartScope::User, false);
        m.checks->SnapshotAutostart(AutostartScope::Local, false);
        m.checks->CheckExecutable(false);
      },
      lock, false);
  EXPECT_EQ(m.registry().Text(HKCU, settings::UserKey, "Quenlar"), m.Seal(m.programPath()));
  EXPECT_EQ(m.registry().Text(HKCU, settings::UserKey, "Messenger"), m.Seal("C:\\chat.exe"));
  EXPECT_EQ(m.registry().Text(HKCU, settings::ProductKey, "Path"), m.Seal("D:\\Mir\\mir.exe"));
  EXPECT_THAT(m.lines(), ElementsAre("Setup complete! Close and restart the utility!"));
}

TEST_F(InstallationTest, FailedEntryWriteEndsTheResetButNotTheEndRequest) {
  m.registry().DenyFullAccess(HKCU, settings::RunKey);
  m.Answer(ResetQuestion, MessageAnswer::Yes);
  Reset();
  EXPECT_EQ(scans, 0);
  EXPECT_TRUE(skip);
  EXPECT_TRUE(m.toolkit().terminateRequested());
  EXPECT_FALSE(m.registry().HasKey(HKCU, settings::ProductKey));
  EXPECT_EQ(m.boxes().back(), (Box{MessageKind::Error, "Error opening registry!"}));
}

TEST_F(InstallationTest, AutostartEntryIsWrittenOrTheFailureThrown) {
  m.registry().DeleteKey(HKCU, settings::RunKey);
  WriteAutostartEntry(m.services);
  EXPECT_EQ(m.registry().Text(HKCU, settings::RunKey, "Quenlar"), m.programPath());

  m.registry().faults().Arm(Fault{1, false, FaultKind::Fail, "WriteValueUtf8"});
  EXPECT_THROW(WriteAutostartEntry(m.services), std::runtime_error);
  m.registry().faults().Arm(Fault{1, false, FaultKind::Throw, "OpenKey"});
  EXPECT_THROW(WriteAutostartEntry(m.services), platform::RegistryError);
  m.registry().DenyFullAccess(HKCU, settings::RunKey);
  EXPECT_THROW(WriteAutostartEntry(m.services), std::runtime_error);
}

// The installer's switch runs the uninstall command's removal: no window, no question.
TEST_F(InstallationTest, TheUninstallSwitchRemovesWhatTheCommandRemovesWithoutAWindow) {
  const std::size_t formEvents = m.toolkit().formEvents().size();
  EXPECT_EQ(RunQuenlar(m.services, " /Uninstall-Settings "), 0);
  EXPECT_FALSE(Installed());
  EXPECT_EQ(m.registry().Text(HKCU, settings::RunKey, "Messenger"), "C:\\chat.exe");
  EXPECT_EQ(m.registry().Text(HKCU, Keyring, "1N"), "sealed");
  EXPECT_THAT(m.boxes(), IsEmpty());
  EXPECT_EQ(m.toolkit().formEvents().size(), formEvents) << "a window came";

  m.SetRunEntry(HKCU, "Quenlar", "C:\\Old\\Quenlar.exe");
  m.registry().DenyFullAccess(HKCU, settings::RunKey);
  EXPECT_EQ(RunQuenlar(m.services, "/uninstall-settings"), 1) << "a removal that failed";

  // With the utility password on, nobody here could give it: the accounts go as well.
  m.registry().SetValue(HKCU, settings::AccessKey, "Validate", platform::RegistryValue::Dword(1));
  RunQuenlar(m.services, "/uninstall-settings");
  EXPECT_FALSE(m.registry().Text(HKCU, Keyring, "1N").has_value());
}

struct TempStart {  // the memory machine's temp folder is C:\Users\Player\AppData\Local\Temp
  const char* program;
  bool settingsStored, asked;
};
void PrintTo(const TempStart& row, std::ostream* os) { *os << row.program << row.settingsStored; }

class FirstStartFromTemp : public ::testing::TestWithParam<TempStart> {};

// Stopped at the question, the program leaves nothing behind: no window, no settings.
TEST_P(FirstStartFromTemp, AsksBeforeTheAutostartEntryPointsIntoTemp) {
  platform::MemoryMachine machine;
  platform::Services services = machine.services();
  machine.process().SetExecutablePath(GetParam().program);
  if (GetParam().settingsStored)
    machine.registry().SetValue(HKCU, settings::ProductKey, "Path", RegistryValue::Text("x"));
  machine.toolkit().ScriptMessageOfKind(MessageKind::Confirmation, MessageAnswer::No);
  EXPECT_EQ(RunQuenlar(services), 0);
  const std::string first = machine.toolkit().messageBoxes().at(0).text;
  // The question names the folder; the scan's first-time question, which comes otherwise, does not.
  EXPECT_EQ(first.find(GetParam().program) != std::string::npos, GetParam().asked) << first;
  EXPECT_EQ(machine.toolkit().formEvents().empty(), GetParam().asked);
  EXPECT_EQ(machine.registry().HasKey(HKCU, settings::ProductKey), !GetParam().asked);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FirstStartFromTemp,
    ::testing::Values(
        TempStart{"C:\\Users\\Player\\AppData\\Local\\Temp\\Temp1_quenlar.zip\\quenlar.exe", false,
                  true},
        TempStart{"c:\\users\\player\\appdata\\local\\TEMP\\quenlar.exe", false, true},
        TempStart{"C:\\Users\\Player\\AppData\\Local\\Temp\\quenlar.exe", true, false},
        TempStart{"C:\\Users\\Player\\AppData\\Local\\Temporary\\quenlar.exe", false, false},
        TempStart{"C:\\Users\\Player\\AppData\\Local\\Programs\\Quenlar\\quenlar.exe", false,
                  false}));

}  // namespace
