#include "ui/installation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/host/scan_test_support.h"

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
        m.services, skip, [this] { ++scans; }, false);
  }
};

TEST_F(InstallationTest, AnsweringNoChangesNothing) {
  m.Answer("Are you sure?", MessageAnswer::No);
  m.Answer(ResetQuestion, MessageAnswer::No);
  Uninstall(m.services, skip);
  Reset();
  EXPECT_THAT(m.boxes(), ElementsAre(Box{MessageKind::Confirmation, "Are you sure?"},
                                     Box{MessageKind::Confirmation, ResetQuestion}));
  ExpectUntouched();
}

TEST_F(InstallationTest, UninstallRemovesEntryAndSettingsOnly) {
  m.Answer("Are you sure?", MessageAnswer::Yes);
  Uninstall(m.services, skip);
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
      false);
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
      false);
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

}  // namespace
