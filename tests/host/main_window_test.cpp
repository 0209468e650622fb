#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/host/main_window_support.h"
#include "ui/credits.h"
#include "ui/program.h"

namespace main_window_test {
namespace {

using platform::RegistryValue;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<std::string> Captions(const platform::Menu& menu) {
  std::vector<std::string> captions;
  for (auto* item : menu.Items()) captions.push_back(item->Caption());
  return captions;
}

// Enter presses a dialog's default button and Esc its cancel button; a dialog without one
// stays open, so a stray key never ends an editor or the prompt unseen.
TEST_F(MainWindowTest, EachDialogAnswersEnterAndEscOnlyThroughItsOwnButtons) {
  struct Case {
    const char* caption;
    const char* menu;
    const char* item;  // nullptr: the menu itself
    bool enterCloses, escCloses;
  };
  SetAccess("Login", RegistryValue::Text(Seal("Secret")));
  Create();
  Scan();
  for (const Case& c : {Case{"Utility Login", "&Menu", "&Change Password...", true, false},
                        Case{"Accounts", "&Menu", "&Accounts...", false, false},
                        Case{"Messaging", "&Options", "Messaging...", false, false},
                        Case{"Help Me", "&Help", nullptr, false, true}}) {
    for (bool enter : {true, false}) {
      SCOPED_TRACE(std::string(c.caption) + (enter ? " Enter" : " Esc"));
      bool closed = false;
      toolkit.ScriptModal(c.caption, [&](platform::Form& f) {
        auto& dialog = platform::MemoryToolkit::Of(f);
        enter ? dialog.UserPressEnter() : dialog.UserPressEscape();
        closed = !f.Showing();
        if (!closed) f.Close();
      });
      // The prompt's empty answer is refused; nothing else may come up.
      if (enter && c.enterCloses)
        toolkit.ScriptMessage(platform::MessageKind::Information, "Invalid Password!",
                              platform::MessageAnswer::Ok);
      ASSERT_TRUE(form().UserChooseMenu(c.menu, c.item ? c.item : ""));
      EXPECT_EQ(closed, enter ? c.enterCloses : c.escCloses);
      EXPECT_EQ(toolkit.UnusedScripts(), 0);
    }
  }
  EXPECT_TRUE(toolkit.unexpected().empty());
}

TEST_F(MainWindowTest, TheWindowStartsAsDesignedWithTheButtonsDisabled) {
  Create();
  for (auto* button : {frm->btnAccount, frm->btnPlay, frm->btnClose})
    EXPECT_FALSE(button->Enabled());
  for (auto* edit : {frm->edtTime, frm->edtMessage, frm->edtTemp}) EXPECT_FALSE(edit->Visible());

  EXPECT_THAT(Captions(*frm->mnuMenu),
              ElementsAre("&Reset Config...", "-", "Uninstall...", "-", "&Accounts...", "-",
                          "&Enable Password...", "-", "&Change Password...", "-", "E&xit"));
  EXPECT_THAT(Captions(*frm->mnuOptions),
              ElementsAre("&Time Online", "2 Hour &Warning", "Message Target...", "-",
                          "Messaging...", "Enable Messaging", "-", "&Stealth Mode"));
  EXPECT_THAT(Captions(*frm->mnuHelp), IsEmpty());

  EXPECT_TRUE(frm->tmrScan->Enabled());
  EXPECT_TRUE(frm->tmrTime->Enabled());
  for (auto* timer : {frm->tmrPoll.get(), frm->tmrRun.get(), frm->tmrMessages.get()})
    EXPECT_FALSE(timer->Enabled());
}

TEST_F(MainWindowTest, AFirstStartCreatesTheKeyAndReplacesTheDesignMarksWithDefaults) {
  Create();
  EXPECT_TRUE(registry.HasKey(HKCU, settings::AccessKey));
  EXPECT_FALSE(frm->mnuStealthMode->Checked());  // marked at design, off by default
  EXPECT_TRUE(frm->mnuEnableMessaging->Checked());
  EXPECT_FALSE(frm->mnuTime->Checked());
  EXPECT_FALSE(frm->mnu2HourWarning->Checked());
  EXPECT_EQ(frm->mnuEnablePassword->Caption(), "&Enable Password...");
  const MainWindowState& state = frm->state();
  EXPECT_EQ(state.SelectedAccount, 1);
  EXPECT_EQ(frm->lock().PasswordEnabled, 0);
  EXPECT_FALSE(frm->lock().Unlocked);
  EXPECT_FALSE(state.Dragging);
  EXPECT_THAT(state.messages.MessageSlots, Each(""));
}

TEST_F(MainWindowTest, StoredSettingsSetTheMarksThePasswordCaptionAndTheSlots) {
  SetAccess("Validate", RegistryValue::Dword(1));
  SetAccess("Stealth", RegistryValue::Dword(1));
  SetAccess("Messaging", RegistryValue::Dword(0));
  SetAccess("Online", RegistryValue::Dword(1));
  SetAccess("Warning", RegistryValue::Dword(1));
  SetAccess("Message7", RegistryValue::Text(Seal("see you")));
  Create();
  EXPECT_TRUE(frm->mnuStealthMode->Checked());
  EXPECT_FALSE(frm->mnuEnableMessaging->Checked());
  EXPECT_TRUE(frm->mnuTime->Checked());
  EXPECT_TRUE(frm->mnu2HourWarning->Checked());
  EXPECT_EQ(frm->mnuEnablePassword->Caption(), "&Disable Password...");
  EXPECT_EQ(frm->state().messages.MessageSlots[7], "see you");
}

TEST_F(MainWindowTest, StealthModeTogglesItsMarkAndTheMarkIsWhatIsSaved) {
  Create();
  registry.faults().ClearJournal();
  ASSERT_TRUE(form().UserChooseMenu("&Options", "&Stealth Mode"));
  EXPECT_TRUE(frm->mnuStealthMode->Checked());
  EXPECT_THAT(registry.faults().journal(), IsEmpty());  // nothing happens until exit
  frm->mnuStealthModeClick();
  frm->mnuStealthModeClick();
  EXPECT_TRUE(frm->mnuStealthMode->Checked());

  Destroy();
  auto stored = registry.Value(HKCU, settings::AccessKey, "Stealth");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->AsDword(), 1u);
}

TEST_F(MainWindowTest, AfterAnUninstallNothingIsWrittenAndTheKeyIsNotRecreated) {
  Create();
  Scan();
  toolkit.ScriptMessageOfKind(platform::MessageKind::Confirmation, platform::MessageAnswer::Yes);
  toolkit.ScriptMessageOfKind(platform::MessageKind::Information, platform::MessageAnswer::Ok);
  ASSERT_TRUE(form().UserChooseMenu("&Menu", "Uninstall..."));
  EXPECT_TRUE(frm->state().SkipSettingsSave);
  EXPECT_FALSE(registry.HasKey(HKCU, settings::AccessKey));
  frm->lblContactMouseMove({});
  Destroy();
  EXPECT_FALSE(registry.HasKey(HKCU, settings::AccessKey));
  EXPECT_EQ(machine.cursor().Current(), platform::crDefault);
}

TEST_F(MainWindowTest, AResetRunsTheScanDriverAgainAndSavesNothing) {
  Create();
  Scan();
  checks->calls.clear();
  toolkit.ScriptMessageOfKind(platform::MessageKind::Confirmation, platform::MessageAnswer::Yes);
  ASSERT_TRUE(form().UserChooseMenu("&Menu", "&Reset Config..."));
  EXPECT_EQ(checks->calls.size(), 7u);  // the driver only, not the whole sequence
  EXPECT_TRUE(frm->btnAccount->Enabled());
  EXPECT_TRUE(frm->state().SkipSettingsSave);
  Destroy();
  EXPECT_FALSE(registry.HasKey(HKCU, settings::AccessKey));
}

TEST_F(MainWindowTest, TheContactLinesOpenTheMailLinkAndSetTheHandCursor) {
  Create();
  ASSERT_TRUE(form().LabelCaptioned(CreditLine).UserClick());
  ASSERT_TRUE(form().LabelCaptioned(ThanksLine).UserClick());
  ASSERT_EQ(machine.shell().calls().size(), 2u);
  for (const auto& call : machine.shell().calls()) {
    EXPECT_EQ(call.file, "mailto:support@quenlar.example?Subject=Quenlar v1.15");
    EXPECT_EQ(call.parameters, "");
    EXPECT_EQ(call.directory, "");
    EXPECT_EQ(call.showCommand, 5);
  }

  ASSERT_TRUE(form().LabelCaptioned(ThanksLine).UserMouseMove({}));
  EXPECT_EQ(machine.cursor().Current(), platform::crHandPoint);
  ASSERT_TRUE(form().UserMouseMove({200, 20}));
  EXPECT_EQ(machine.cursor().Current(), platform::crDefault);
}

TEST_F(MainWindowTest, ExitInTheMenuFollowsTheExitButton) {
  Create();
  ASSERT_FALSE(form().UserChooseMenu("&Menu", "E&xit"));  // greyed before the scan
  EXPECT_TRUE(frm->form().Showing());
  Scan();
  ASSERT_TRUE(form().UserChooseMenu("&Menu", "E&xit"));
  EXPECT_FALSE(frm->form().Showing());
}

TEST(ProgramEntry, RunsTheWindowUntilItClosesThenSavesTheSettings) {
  platform::MemoryMachine machine;
  platform::Services services = machine.services();
  auto& toolkit = machine.toolkit();
  // A fresh machine: the first-time question is answered No.
  toolkit.ScriptMessageOfKind(platform::MessageKind::Confirmation, platform::MessageAnswer::No);
  toolkit.At(5000, [&] {
    ASSERT_EQ(toolkit.forms().size(), 1u);
    toolkit.forms().front()->UserClose();
  });

  EXPECT_EQ(RunQuenlar(services), 0);

  EXPECT_EQ(toolkit.applicationTitle(), "Quenlar");
  EXPECT_EQ(toolkit.lastRunStop(), platform::RunStop::MainFormClosed);
  EXPECT_THAT(toolkit.forms(), IsEmpty());
  EXPECT_TRUE(machine.registry().Value(platform::RootKey::CurrentUser, settings::AccessKey, "Acc"));
}

}  // namespace
}  // namespace main_window_test
