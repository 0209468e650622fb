#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "accounts/account_key.h"
#include "game_client/contract.h"
#include "lock/password_verifier.h"
#include "lock/ufrmLogin.h"
#include "platform/memory/memory_view_controls.h"
#include "tests/host/main_window_support.h"

namespace main_window_test {
namespace {

using platform::FaultKind;
using platform::MemoryButton;
using platform::MemoryEdit;
using platform::MemoryForm;
using platform::MemoryToolkit;
using platform::MessageKind;
using platform::RegistryValue;

const std::string Request =
    "Please enter a password that you would like to use to protect this utility!\r"
    "Please make sure that the password is NOT the same as your Mir password!";

class UtilityPasswordTest : public MainWindowTest {
 protected:
  void SetUp() override {
    Create();
    Scan();
  }
  void StoreLogin(const std::string& plain) {
    SetAccess("Login", RegistryValue::Text(Seal(plain)));
  }
  // Whether the stored password is `typed`, by the check the dialog makes.
  bool Verifies(const std::string& typed) {
    return CheckPassword(machine.volume(), StoredLogin(), typed, typed).accepted;
  }
  std::string StoredLogin() {
    auto v = registry.Value(HKCU, settings::AccessKey, "Login");
    return v ? v->bytes : "<missing>";
  }
  // The next login dialog gets `password` (and `confirm` in set mode) and Enter.
  void Answer(const std::string& password, std::optional<std::string> confirm = {}) {
    toolkit.ScriptModal("Utility Login", [=](platform::Form& f) {
      auto& form = MemoryToolkit::Of(f);
      form.Nth<MemoryEdit>(0).UserType(password);
      if (confirm) form.Nth<MemoryEdit>(1).UserType(*confirm);
      form.UserPressEnter();
    });
  }
  void ScriptInfo(const std::string& text) {
    toolkit.ScriptMessage(MessageKind::Information, text, platform::MessageAnswer::Ok);
  }
  bool Choose(const char* item) { return form().UserChooseMenu("&Menu", item); }
};

TEST_F(UtilityPasswordTest, CheckModeAcceptsOnlyTheExactPasswordAndClearsTheField) {
  struct Case {
    std::string typed;
    bool accepted;
  };
  for (const Case& c :
       {Case{"Secret", true}, Case{"secret", false}, Case{"Secret ", false}, Case{"", false}}) {
    SCOPED_TRACE(c.typed);
    StoreLogin("Secret");
    bool confirmShown = true;
    std::string left = "?";
    toolkit.ScriptModal("Utility Login", [&](platform::Form& f) {
      auto& dialog = MemoryToolkit::Of(f);
      confirmShown = dialog.Nth<MemoryEdit>(1).Visible();
      auto& field = dialog.Nth<MemoryEdit>(0);
      field.UserType(c.typed);
      dialog.UserPressEnter();
      left = field.Text();
    });
    if (!c.accepted) ScriptInfo("Invalid Password!");
    EXPECT_EQ(AskUtilityPassword(services, {}).accepted, c.accepted);
    // The earlier version's form gives way to a verifier at its first correct entry.
    EXPECT_EQ(StoredLogin() == Seal("Secret"), !c.accepted);
    EXPECT_FALSE(confirmShown);
    EXPECT_EQ(left, "");
  }
  EXPECT_EQ(toolkit.UnusedScripts(), 0);
  EXPECT_TRUE(toolkit.unexpected().empty());
}

// The password is what was typed, beyond the code page too: another word of as many
// letters the code page cannot hold does not pass for it.
TEST_F(UtilityPasswordTest, APasswordBeyondTheCodePageIsCheckedExactly) {
  const std::string password = "\xd0\x9f\xd0\xb0\xd1\x80\xd0\xbe\xd0\xbb\xd1\x8c";
  const std::string other = "\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82";
  ScriptInfo(Request);
  toolkit.ScriptModal("Utility Login", [&](platform::Form& f) {
    auto& dialog = MemoryToolkit::Of(f);
    dialog.Nth<MemoryEdit>(0).UserTypeUtf8(password);
    dialog.Nth<MemoryEdit>(1).UserTypeUtf8(password);
    dialog.UserPressEnter();
  });
  ASSERT_TRUE(AskUtilityPassword(services, {}).accepted);
  for (const auto& [typed, accepted] : {std::pair{other, false}, std::pair{password, true}}) {
    toolkit.ScriptModal("Utility Login", [&typed](platform::Form& f) {
      MemoryToolkit::Of(f).Nth<MemoryEdit>(0).UserTypeUtf8(typed);
      MemoryToolkit::Of(f).UserPressEnter();
    });
    if (!accepted) ScriptInfo("Invalid Password!");
    EXPECT_EQ(AskUtilityPassword(services, {}).accepted, accepted);
  }
  EXPECT_EQ(toolkit.UnusedScripts(), 0);
}

TEST_F(UtilityPasswordTest, SetModeAsksUntilTwoEqualPasswordsAndStoresThemSealed) {
  std::vector<std::string> steps;
  toolkit.ScriptModal("Utility Login", [&](platform::Form& f) {
    auto& dialog = MemoryToolkit::Of(f);
    auto& password = dialog.Nth<MemoryEdit>(0);
    auto& confirm = dialog.Nth<MemoryEdit>(1);
    EXPECT_TRUE(confirm.Visible());
    EXPECT_EQ(dialog.spec().border, platform::BorderStyle::Sizeable);
    EXPECT_EQ(dialog.ScreenBounds().width, 215);
    EXPECT_EQ(dialog.ScreenBounds().height, 126);
    confirm.SetFocus();
    dialog.UserPressEnter();  // empty
    steps.push_back(f.Showing() && dialog.focusedControl() == &password ? "open" : "closed");
    password.UserType("Secret");
    confirm.UserType("secret");
    EXPECT_EQ(password.DisplayText(), "******");
    confirm.SetFocus();
    dialog.UserPressEnter();  // differ
    steps.push_back(f.Showing() && password.Text() == "Secret" &&
                            dialog.focusedControl() == &password
                        ? "open, kept"
                        : "lost");
    confirm.SelectAll();
    confirm.UserType("Secret");
    dialog.UserPressEnter();
    steps.push_back(f.Showing() || !password.Text().empty() ? "open" : "closed, wiped");
  });
  ScriptInfo(Request);
  ScriptInfo("Please enter a password!");
  ScriptInfo("Passwords do not match!");
  EXPECT_TRUE(AskUtilityPassword(services, {}).accepted);
  EXPECT_EQ(steps, (std::vector<std::string>{"open", "open, kept", "closed, wiped"}));
  EXPECT_TRUE(Verifies("Secret"));
  EXPECT_TRUE(toolkit.unexpected().empty());
}

TEST_F(UtilityPasswordTest, EnableAndDisableSwitchAtOnceAndDisablingNeedsThePassword) {
  StoreLogin("Secret");
  frm->lock().PasswordEnabled = 2;  // any value but 1 is off
  auto validate = [&] { return registry.Value(HKCU, settings::AccessKey, "Validate")->AsDword(); };

  ASSERT_TRUE(Choose("&Enable Password..."));
  EXPECT_EQ(validate(), 0u);
  EXPECT_EQ(frm->mnuEnablePassword->Caption(), "&Enable Password...");
  ASSERT_TRUE(Choose("&Enable Password..."));
  EXPECT_EQ(validate(), 1u);
  EXPECT_EQ(frm->mnuEnablePassword->Caption(), "&Disable Password...");

  Answer("SECRET");
  ScriptInfo("Invalid Password!");
  ASSERT_TRUE(Choose("&Disable Password..."));
  EXPECT_EQ(validate(), 1u);
  EXPECT_EQ(frm->lock().PasswordEnabled, 1);

  Answer("Secret");
  ASSERT_TRUE(Choose("&Disable Password..."));
  EXPECT_EQ(validate(), 0u);
  EXPECT_EQ(frm->mnuEnablePassword->Caption(), "&Enable Password...");
  EXPECT_TRUE(frm->lock().Unlocked);

  registry.faults().Arm({1, true, FaultKind::Throw, "WriteValue"});
  ASSERT_TRUE(Choose("&Enable Password..."));  // a failed write is ignored
  EXPECT_EQ(frm->lock().PasswordEnabled, 1);
  EXPECT_TRUE(toolkit.unexpected().empty());
}

TEST_F(UtilityPasswordTest, ChangeAsksForTheCurrentPasswordEvenWhenSwitchedOff) {
  StoreLogin("Old");
  Answer("Old");
  ScriptInfo(Request);
  Answer("New", "New");
  ASSERT_TRUE(Choose("&Change Password..."));
  EXPECT_TRUE(Verifies("New"));
  EXPECT_TRUE(frm->lock().Unlocked);

  Answer("New");
  ScriptInfo(Request);
  toolkit.ScriptModal("Utility Login", [](platform::Form&) {});  // closed by its title bar
  ASSERT_TRUE(Choose("&Change Password..."));
  EXPECT_TRUE(Verifies("New"));
  EXPECT_TRUE(frm->lock().Unlocked);

  Answer("Old");
  ScriptInfo("Invalid Password!");
  ASSERT_TRUE(Choose("&Change Password..."));
  EXPECT_FALSE(frm->lock().Unlocked);
  EXPECT_EQ(toolkit.UnusedScripts(), 0);
  EXPECT_TRUE(toolkit.unexpected().empty());
}

TEST_F(UtilityPasswordTest, AFailedStoreOfANewPasswordIsShownAndTheDialogStaysOpen) {
  for (FaultKind kind : {FaultKind::Fail, FaultKind::Throw}) {
    bool stayedOpen = false;
    toolkit.ScriptModal("Utility Login", [&](platform::Form& f) {
      auto& dialog = MemoryToolkit::Of(f);
      dialog.Nth<MemoryEdit>(0).UserType("Secret");
      dialog.Nth<MemoryEdit>(1).UserType("Secret");
      registry.faults().Arm({1, false, kind, "WriteValue"});
      dialog.UserPressEnter();
      stayedOpen = f.Showing() && dialog.Nth<MemoryEdit>(0).Text() == "Secret";
    });
    ScriptInfo(Request);
    toolkit.ScriptMessageOfKind(MessageKind::Error, platform::MessageAnswer::Ok);
    EXPECT_FALSE(AskUtilityPassword(services, {}).accepted);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(StoredLogin(), "<missing>");
  }
  EXPECT_TRUE(toolkit.unexpected().empty());
}

// With the password on, a reset keeps the accounts only for whoever gives it; anyone
// else may still reset, after being told, and the accounts go with the settings.
TEST_F(UtilityPasswordTest, ResetAndUninstallNeedThePasswordToKeepTheAccounts) {
  struct Case {
    const char* typed;  // nullptr: the password is off, nothing is asked
    platform::MessageAnswer goOn;
    bool done, accountsKept;
  };
  struct Command {
    const char* item;
    const char* word;      // in the question without the password
    std::string question;  // the command's own
  };
  const std::string resetQuestion =
      "Do you want to reset the configuration?\rIf you select \"YES\", please answer \"YES\" to "
      "the next question as well!";
  using platform::MessageAnswer;
  for (const Command& command : {Command{"&Reset Config...", "reset", resetQuestion},
                                 Command{"Uninstall...", "uninstall", "Are you sure?"}}) {
    const std::string withoutPassword = std::string("Without the utility password the ") +
                                        command.word +
                                        " also removes every stored game account!\r"
                                        "Do you want to go on?";
    for (const Case& c : {Case{nullptr, MessageAnswer::No, true, true},
                          Case{"Secret", MessageAnswer::No, true, true},
                          Case{"secret", MessageAnswer::No, false, true},
                          Case{"secret", MessageAnswer::Yes, true, false}}) {
      SCOPED_TRACE(std::string(command.word) + " " + (c.typed ? c.typed : "off") + " " +
                   (c.goOn == MessageAnswer::Yes ? "yes" : "no"));
      StoreLogin("Secret");
      registry.SetValue(HKCU, AccountKey(), "1N", RegistryValue::Text("sealed"));
      frm->lock().PasswordEnabled = c.typed ? 1 : 0;
      frm->state().SkipSettingsSave = false;
      if (c.typed) {
        Answer(c.typed);
        if (std::string(c.typed) != "Secret") {
          ScriptInfo("Invalid Password!");
          toolkit.ScriptMessage(MessageKind::Confirmation, withoutPassword, c.goOn);
        }
      }
      // The scan after the reset asks its own questions, answered by the backend's default.
      if (c.done) {
        toolkit.ScriptMessage(MessageKind::Confirmation, command.question, MessageAnswer::Yes);
        if (command.word == std::string("uninstall")) ScriptInfo("Uninstall complete!");
      }
      ASSERT_TRUE(Choose(command.item));
      EXPECT_EQ(StoredLogin() == "<missing>", c.done);
      EXPECT_EQ(registry.Text(HKCU, AccountKey(), "1N").has_value(), c.accountsKept);
      EXPECT_FALSE(frm->lock().Unlocked);
      EXPECT_EQ(toolkit.UnusedScripts(), 0);
    }
  }
}

// Each guarded action through its own handler: whether the prompt comes, whether the
// action runs, and what is left of the pass. Unscripted prompts count as unexpected.
enum class Guarded { Play, Edit, Drag };
struct GuardRow {
  const char* what;
  Guarded action;
  int enabled;  // PasswordEnabled
  bool unlockedBefore;
  const char* typed;  // the prompt's answer; nullptr: no prompt may come
  bool runs;
  bool unlockedAfter;
};

void PrintTo(const GuardRow& row, std::ostream* os) { *os << row.what; }

class UtilityPasswordGuard : public MainWindowTest, public ::testing::WithParamInterface<GuardRow> {
 protected:
  static constexpr const char* Game = "C:\\Games\\Mir\\mir.exe";
  void SetUp() override {
    machine.InstallGame(Game);
    registry.SetValue(HKCU, settings::ProductKey, "Path", RegistryValue::Text(Seal(Game)));
    registry.SetValue(HKCU, AccountKey(), "17", RegistryValue::Text(Seal("hunter2")));
    SetAccess("Login", RegistryValue::Text(Seal("Secret")));
    Create();
    Scan();
  }
  // Runs the action; true when it did what it guards. `unlocked` is the pass right after
  // the guard (for Edit, before the list is closed, which always uses the pass up).
  bool Act(Guarded action, bool expectEditor, bool& unlocked) {
    bool done = false;
    switch (action) {
      case Guarded::Play:
        frm->btnPlay->Click();
        toolkit.RunFor(600);
        done = !machine.shell().calls().empty();
        break;
      case Guarded::Edit:
        // An editor that was not expected is an unscripted modal: counted as unexpected.
        if (expectEditor)
          toolkit.ScriptModal("", [&](platform::Form& f) { done = true, f.Close(); });
        toolkit.ScriptModal("Accounts", [&](platform::Form& f) {
          MemoryToolkit::Of(f).ButtonCaptioned("&Edit").UserClick();
          unlocked = frm->lock().Unlocked;
          MemoryToolkit::Of(f).ButtonCaptioned("&Close").UserClick();
        });
        dynamic_cast<MemoryButton&>(*frm->btnAccount).UserClick();
        return done;
      case Guarded::Drag: {
        auto& game = machine.games().Launch({});
        game.ShowLoginScreen();
        const platform::Point field = game_client::PasswordPoint;
        auto& button = form().Nth<platform::MemorySpeedButton>();
        button.UserMouseDown(platform::MouseButton::Left, {3, 3});
        button.UserMoveToScreen(field);
        button.UserReleaseAtScreen(field);
        done = game.TextsSet("password") == std::vector<std::string>{"hunter2"};
        break;
      }
    }
    unlocked = frm->lock().Unlocked;
    return done;
  }
};

TEST_P(UtilityPasswordGuard, AsksRunsAndUsesUpThePassAsTheRulesSay) {
  const GuardRow& row = GetParam();
  frm->lock().PasswordEnabled = row.enabled;
  frm->lock().Unlocked = row.unlockedBefore;
  if (row.typed) {
    toolkit.ScriptModal("Utility Login", [typed = row.typed](platform::Form& f) {
      MemoryToolkit::Of(f).Nth<MemoryEdit>(0).UserType(typed);
      MemoryToolkit::Of(f).UserPressEnter();
    });
    if (std::string(row.typed) != "Secret")
      toolkit.ScriptMessage(MessageKind::Information, "Invalid Password!",
                            platform::MessageAnswer::Ok);
  }
  bool unlocked = !row.unlockedAfter;
  EXPECT_EQ(Act(row.action, row.runs, unlocked), row.runs);
  EXPECT_EQ(unlocked, row.unlockedAfter);
  EXPECT_EQ(toolkit.UnusedScripts(), 0);
  EXPECT_TRUE(toolkit.unexpected().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rules, UtilityPasswordGuard,
    ::testing::Values(
        GuardRow{"PlayOnAsks", Guarded::Play, 1, false, "Secret", true, false},
        GuardRow{"PlayOnWrongPasswordLaunchesNothing", Guarded::Play, 1, false, "secret", false,
                 false},
        GuardRow{"PlayOnWithAPassLeftDoesNotAsk", Guarded::Play, 1, true, nullptr, true, false},
        GuardRow{"PlayOffDoesNotAsk", Guarded::Play, 0, false, nullptr, true, false},
        GuardRow{"PlayWithValidateTwoIsOff", Guarded::Play, 2, false, nullptr, true, false},
        GuardRow{"EditOnAsksEvenWithAPassLeft", Guarded::Edit, 1, true, "Secret", true, true},
        GuardRow{"EditOnWrongPasswordEditsNothing", Guarded::Edit, 1, true, "Secret ", false,
                 false},
        GuardRow{"EditOffLeavesThePassAsItIs", Guarded::Edit, 0, true, nullptr, true, true},
        GuardRow{"EditWithValidateTwoIsOff", Guarded::Edit, 2, false, nullptr, true, false},
        GuardRow{"DragAsksEvenWhenOff", Guarded::Drag, 0, true, "Secret", true, false},
        GuardRow{"DragWrongPasswordDeliversNothing", Guarded::Drag, 2, true, "SECRET", false,
                 false},
        GuardRow{"DragOnAsks", Guarded::Drag, 1, false, "Secret", true, false}),
    [](const ::testing::TestParamInfo<GuardRow>& info) { return info.param.what; });

}  // namespace
}  // namespace main_window_test
