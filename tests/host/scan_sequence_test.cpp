#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "accounts/account_key.h"
#include "tests/host/main_window_support.h"

namespace main_window_test {
namespace {

using platform::MessageAnswer;
using platform::MessageKind;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* AutostartQuestion =
    "Registry changes were detected!  Are you happy that the changes are not malicious?\n"
    "If you select \"YES\" the progam will accept the new changes!";
constexpr const char* ExecutableQuestion =
    "Executable changes were detected!  Have you upgraded Mir?\n"
    "If you select \"YES\" the progam will accept the new changes!";

using ScanSequenceTest = MainWindowTest;

TEST_F(ScanSequenceTest, RunsOnceAQuarterSecondAfterCreationInItsOrderWithItsPauses) {
  Create();
  toolkit.RunFor(249);
  EXPECT_THAT(checks->calls, IsEmpty());

  toolkit.RunFor(1);
  EXPECT_THAT(checks->Names(),
              ElementsAre("SnapshotAutostart User false", "SnapshotAutostart Local false",
                          "SnapshotAutostart StartupPlaces false", "CompareAutostart User",
                          "CompareAutostart Local", "CompareAutostart StartupPlaces",
                          "CheckExecutable false", "CheckPatcherConfig", "CheckPlantedLibraries"));
  // 300 ms after each autostart step, with the window repainted before each pause.
  const std::int64_t times[] = {250, 550, 550, 850, 1150, 1150, 1450, 1450, 1450};
  for (std::size_t i = 0; i < checks->calls.size(); ++i) {
    EXPECT_EQ(checks->calls[i].atMs, times[i]) << checks->calls[i].what;
    if (i > 0 && times[i] > times[i - 1]) {
      EXPECT_GT(checks->calls[i].pumpsBefore, checks->calls[i - 1].pumpsBefore);
    }
  }
  ASSERT_EQ(machine.clock().sleeps().size(), 4u);
  for (const auto& sleep : machine.clock().sleeps()) EXPECT_EQ(sleep.ms, 300);
  EXPECT_FALSE(frm->tmrScan->Enabled());

  toolkit.RunFor(60000);
  EXPECT_EQ(checks->calls.size(), 9u);
}

TEST_F(ScanSequenceTest, AFirstRunSkipsBothComparisonsButKeepsEveryPause) {
  Create();
  checks->during = [&](const std::string& what) {
    if (what == "SnapshotAutostart User false") checks->context.findings.FirstRun = true;
  };
  Scan();
  EXPECT_THAT(checks->Names(),
              ElementsAre("SnapshotAutostart User false", "SnapshotAutostart Local false",
                          "SnapshotAutostart StartupPlaces false", "CheckExecutable false",
                          "CheckPatcherConfig", "CheckPlantedLibraries"));
  EXPECT_EQ(machine.clock().TotalSleptMs(), 1200);
  EXPECT_EQ(checks->calls[3].atMs - checks->calls[0].atMs, 1200);
}

TEST_F(ScanSequenceTest, ButtonsAndTheirMenuItemsAreDisabledOnlyWhileTheDriverRuns) {
  Create();
  EXPECT_FALSE(frm->btnAccount->Enabled());
  EXPECT_FALSE(frm->btnPlay->Enabled());
  EXPECT_FALSE(frm->btnClose->Enabled());

  int checked = 0;
  checks->during = [&](const std::string& what) {
    if (what != "CompareAutostart Local") return;
    ++checked;
    EXPECT_FALSE(frm->btnAccount->Enabled());
    EXPECT_FALSE(frm->btnPlay->Enabled());
    EXPECT_FALSE(frm->btnClose->Enabled());
    EXPECT_TRUE(frm->animScan->Active());
    EXPECT_EQ(machine.cursor().Current(), platform::crHourGlass);
    // The player can still open the menu: all but Uninstall are greyed.
    ASSERT_TRUE(form().UserOpenMenu("&Menu"));
    for (auto* item : {frm->mnuResetConfig, frm->mnuAccount, frm->mnuEnablePassword,
                       frm->mnuChangePassword, frm->mnuExit})
      EXPECT_FALSE(item->Enabled()) << item->Caption();
    EXPECT_TRUE(frm->mnuUninstall->Enabled());
  };
  Scan();
  EXPECT_EQ(checked, 1);

  EXPECT_TRUE(frm->btnAccount->Enabled());
  EXPECT_TRUE(frm->btnPlay->Enabled());
  EXPECT_TRUE(frm->btnClose->Enabled());
  EXPECT_FALSE(frm->animScan->Active());
  EXPECT_THAT(machine.cursor().journal(), ElementsAre(platform::crHourGlass, platform::crDefault));
  ASSERT_TRUE(form().UserOpenMenu("&Menu"));
  for (auto* item : {frm->mnuResetConfig, frm->mnuAccount, frm->mnuEnablePassword,
                     frm->mnuChangePassword, frm->mnuExit, frm->mnuUninstall})
    EXPECT_TRUE(item->Enabled()) << item->Caption();
}

// Whatever a check throws ends that check alone: the later ones run, the buttons come
// back, and the log does not pass for a clean one.
TEST_F(ScanSequenceTest, AnythingThrownByACheckEndsOnlyThatCheck) {
  Create();
  checks->during = [&](const std::string& what) {
    if (what == "SnapshotAutostart User false") throw std::runtime_error("unexpected");
    if (what == "CheckExecutable false") throw 42;
  };
  Scan();
  EXPECT_EQ(checks->calls.size(), 9u);
  EXPECT_TRUE(frm->btnClose->Enabled());
  EXPECT_TRUE(frm->btnPlay->Enabled());
  EXPECT_TRUE(frm->btnAccount->Enabled());
  EXPECT_FALSE(frm->animScan->Active());
  EXPECT_EQ(machine.cursor().Current(), platform::crDefault);
  EXPECT_EQ(frm->mmoEvents->FontColor(), platform::colors::Red);
  EXPECT_EQ(LogLines().back(), "Message Target: <public message>");
  // The player sees a red log; the cause is kept for whoever looks into it.
  EXPECT_EQ(machine.trace().lines(),
            (std::vector<std::string>{"a check of the scan: unexpected",
                                      "a check of the scan: unknown error"}));
}

TEST_F(ScanSequenceTest, TheLogIsClearedBlackAndOneWarningTurnsEveryLineRed) {
  Create();
  frm->log().Append("left from before");
  frm->log().TurnRed();
  checks->during = [&](const std::string& what) {
    if (what == "SnapshotAutostart User false") {
      EXPECT_EQ(frm->mmoEvents->FontColor(), platform::colors::Black);
      checks->context.log.Append("Registry: User checks complete");
    }
    if (what == "CheckPatcherConfig") {
      checks->context.log.Append("a warning");
      checks->context.log.TurnRed();
    }
  };
  Scan();
  EXPECT_THAT(LogLines(), ElementsAre("Registry: User checks complete", "a warning",
                                      "Account: ", "Message Target: <public message>"));
  EXPECT_EQ(frm->mmoEvents->FontColor(), platform::colors::Red);
  // A warning alone sets no flag: Exit asks nothing.
  frm->btnClose->Click();
  EXPECT_THAT(toolkit.messageBoxes(), IsEmpty());
  EXPECT_FALSE(frm->form().Showing());
}

TEST_F(ScanSequenceTest, TitleAndLastLinesNameTheStoredAccountAndTarget) {
  SetAccess("Acc", platform::RegistryValue::Dword(3));
  SetAccess("MessageTarget", platform::RegistryValue::Text("Hunter"));
  registry.SetValue(HKCU, AccountKey(), "3N", platform::RegistryValue::Text(Seal("Warrior")));
  Create();
  Scan();
  EXPECT_EQ(frm->form().Caption(), "Quenlar - Warrior");
  EXPECT_THAT(LogLines(), ElementsAre("Account: Warrior", "Message Target: Hunter"));
}

TEST_F(ScanSequenceTest, AMissingOrUnreadableAccountNameShowsNothingAfterThePrefixes) {
  Create();
  registry.faults().Arm({1, false, platform::FaultKind::Throw, "ReadValue"});
  Scan();
  EXPECT_EQ(frm->form().Caption(), "Quenlar - ");
  EXPECT_THAT(LogLines(), ElementsAre("Account: ", "Message Target: <public message>"));
  EXPECT_TRUE(registry.HasKey(HKCU, AccountKey()));  // opened with creation allowed
}

class ExitTest : public ScanSequenceTest {
 protected:
  void SetUp() override {
    registry.SetValue(HKCU, settings::UserKey, "Old", platform::RegistryValue::Text("x"));
    registry.SetValue(HKCU, settings::LocalKey, "Old", platform::RegistryValue::Text("x"));
    registry.SetValue(HKCU, settings::Local32Key, "Old", platform::RegistryValue::Text("x"));
    registry.SetValue(HKCU, settings::CommonStartupKey, "Old", platform::RegistryValue::Text("x"));
    registry.SetValue(HKCU, settings::ChecksumKey, "Value", platform::RegistryValue::Text("y"));
    Create();
    Scan();
    checks->calls.clear();
  }
  void Found(bool autostart, bool executable) {
    frm->findings().AutostartChanged = autostart;
    frm->findings().ExecutableChanged = executable;
  }
  bool Has(const char* key) { return registry.HasKey(HKCU, key); }
};

TEST_F(ExitTest, NoThenYesReplacesOnlyTheChecksum) {
  Found(true, true);
  toolkit.ScriptMessage(MessageKind::Confirmation, AutostartQuestion, MessageAnswer::No);
  toolkit.ScriptMessage(MessageKind::Confirmation, ExecutableQuestion, MessageAnswer::Yes);
  checks->during = [&](const std::string& what) {
    if (what == "CheckExecutable true") {
      EXPECT_FALSE(Has(settings::ChecksumKey));
    }
  };

  ASSERT_TRUE(form().ButtonCaptioned("E&xit").UserClick());

  EXPECT_THAT(toolkit.MessageTexts(), ElementsAre(AutostartQuestion, ExecutableQuestion));
  EXPECT_EQ(toolkit.messageBoxes()[0].title, "Confirm");
  EXPECT_THAT(checks->Names(), ElementsAre("CheckExecutable true"));
  EXPECT_TRUE(Has(settings::UserKey));
  EXPECT_TRUE(Has(settings::LocalKey));
  EXPECT_FALSE(frm->form().Showing());
}

TEST_F(ExitTest, YesToBothWritesFreshSnapshotsThenTheChecksum) {
  Found(true, true);
  toolkit.ScriptMessage(MessageKind::Confirmation, AutostartQuestion, MessageAnswer::Yes);
  toolkit.ScriptMessage(MessageKind::Confirmation, ExecutableQuestion, MessageAnswer::Yes);
  checks->during = [&](const std::string& what) {
    if (what == "SnapshotAutostart User true") {
      EXPECT_FALSE(Has(settings::UserKey));
      EXPECT_FALSE(Has(settings::LocalKey));
      EXPECT_FALSE(Has(settings::Local32Key));
      EXPECT_FALSE(Has(settings::CommonStartupKey));
      EXPECT_TRUE(Has(settings::ChecksumKey));
    }
  };

  frm->mnuExitClick();

  EXPECT_THAT(checks->Names(),
              ElementsAre("SnapshotAutostart User true", "SnapshotAutostart Local true",
                          "SnapshotAutostart StartupPlaces true", "CheckExecutable true"));
  EXPECT_FALSE(Has(settings::ChecksumKey));
  EXPECT_THAT(toolkit.unexpected(), IsEmpty());
  EXPECT_FALSE(frm->form().Showing());
}

TEST_F(ExitTest, AFailingKeyDeletionStillRunsTheAcceptanceAndCloses) {
  Found(true, false);
  toolkit.ScriptMessage(MessageKind::Confirmation, AutostartQuestion, MessageAnswer::Yes);
  registry.faults().Arm({1, true, platform::FaultKind::Throw, "DeleteKey"});
  frm->btnClose->Click();
  EXPECT_THAT(checks->Names(),
              ElementsAre("SnapshotAutostart User true", "SnapshotAutostart Local true",
                          "SnapshotAutostart StartupPlaces true"));
  EXPECT_FALSE(frm->form().Showing());
}

TEST_F(ExitTest, TheCloseBoxAsksNothingAndAcceptsNothing) {
  Found(true, true);
  ASSERT_TRUE(form().UserClose());
  EXPECT_THAT(toolkit.messageBoxes(), IsEmpty());
  EXPECT_THAT(checks->calls, IsEmpty());
  EXPECT_TRUE(Has(settings::UserKey));
  EXPECT_TRUE(Has(settings::ChecksumKey));
}

}  // namespace
}  // namespace main_window_test
