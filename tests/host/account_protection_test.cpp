// What a copy of the registry, or a program running as the player, learns of the stored
// game passwords: nothing, by any of the ways the old sealing gave them away.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "accounts/account_key.h"
#include "accounts/account_store.h"
#include "accounts/ufrmPassword.h"
#include "core/base64.h"
#include "core/secret_box.h"
#include "forms/game_notices.h"
#include "platform/memory/memory_view_controls.h"
#include "tests/host/main_window_support.h"
#include "ui/ufrmQuenlar.h"

namespace main_window_test {
namespace {

using platform::FaultKind;
using platform::MemoryEdit;
using platform::MemoryForm;
using platform::MemoryListView;
using platform::MemoryToolkit;
using platform::MessageAnswer;
using platform::MessageKind;
using platform::RegistryValue;

constexpr const char* Game = "C:\\Games\\Mir\\mir.exe";
const std::string Request =
    "Please enter a password that you would like to use to protect this utility!\r"
    "Please make sure that the password is NOT the same as your Mir password!";

class AccountProtectionTest : public MainWindowTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    machine.InstallGame(Game);
    registry.SetValue(HKCU, settings::ProductKey, "Path", RegistryValue::Text(Seal(Game)));
    Start();
  }
  void Start() {
    Create();
    Scan();
  }
  void Restart() {
    Destroy();
    Start();
  }
  void Prompt(const std::string& password, bool setMode = false) {
    if (setMode) toolkit.ScriptMessage(MessageKind::Information, Request, MessageAnswer::Ok);
    toolkit.ScriptModal("Utility Login", [=](platform::Form& f) {
      auto& dialog = MemoryToolkit::Of(f);
      dialog.Nth<MemoryEdit>(0).UserTypeUtf8(password);
      if (setMode) dialog.Nth<MemoryEdit>(1).UserTypeUtf8(password);
      dialog.UserPressEnter();
    });
  }
  bool Choose(const char* item) { return form().UserChooseMenu("&Menu", item); }
  // Saves account `n` through the list's "&Edit" and the editor (the prompt, if any, is
  // the caller's to script).
  void SaveThroughEditor(int n, const std::string& name, const std::string& login,
                         const std::string& password) {
    toolkit.ScriptModal("", [=](platform::Form& f) {
      auto& editor = MemoryToolkit::Of(f);
      const std::string texts[] = {name, login, password};
      for (int i = 0; i < 3; ++i) {
        editor.Nth<MemoryEdit>(i).SelectAll();
        editor.Nth<MemoryEdit>(i).UserTypeUtf8(texts[i]);
      }
      editor.UserPressEnter();
    });
    toolkit.ScriptModal("Accounts", [n](platform::Form& f) {
      auto& list = MemoryToolkit::Of(f);
      list.Nth<MemoryListView>().UserClickItem(n - 1);
      list.ButtonCaptioned("&Edit").UserClick();
      list.ButtonCaptioned("&Close").UserClick();
    });
    frm->btnAccount->Click();
  }
  // The login and password the game receives for account `n` at "&Play".
  std::string Delivered(int n) {
    frm->state().SelectedAccount = n;
    frm->btnPlay->Click();
    toolkit.RunFor(platform::SimulatedGames::DefaultLoginDelayMs + 700);
    const auto logins = machine.games().latest().Logins();
    return logins.empty() ? "<nothing>" : logins.back().login + "/" + logins.back().password;
  }
  std::vector<std::string> StoredTexts() {
    std::vector<std::string> texts;
    if (auto v = registry.Value(HKCU, settings::AccessKey, "Login")) texts.push_back(v->bytes);
    std::vector<std::string> names;
    registry.ValueNames(HKCU, AccountKey(), names);
    for (const std::string& name : names)
      texts.push_back(registry.Value(HKCU, AccountKey(), name)->bytes);
    return texts;
  }
  std::string Unsealed(int n, char suffix) {
    auto v = registry.Value(HKCU, AccountKey(), settings::AccountValueName(n, suffix));
    return v ? UnsealText(machine.volume(), v->bytes) : "<missing>";
  }
};

bool Holds(const std::string& bytes, const std::vector<std::string>& secrets) {
  for (const std::string& secret : secrets)
    if (bytes.find(secret) != std::string::npos) return true;
  return false;
}

// A store written through the real dialogs, attacked with the old sealing (its
// unsealing, and its key stream from a known plain text), with the user's own data
// protection, and under another Windows account.
TEST_P(AccountProtectionTest, NoStoredValueGivesAwayALoginPasswordOrTheUtilityPassword) {
  const bool lockOn = GetParam();
  {
    const std::vector<std::string> secrets = {"kaelthas", "hunter2pass", "Utility"};
    ASSERT_TRUE(Choose("&Enable Password..."));
    Prompt("Utility", true);
    SaveThroughEditor(2, "Warrior", "kaelthas", "hunter2pass");
    if (!lockOn) {
      Prompt("Utility");
      ASSERT_TRUE(Choose("&Disable Password..."));
    }
    // A canned line the attacker knows gives the old key stream for 400 bytes.
    const std::string known(400, 'x');
    frm->state().messages.MessageSlots[0] = known;
    Restart();
    const std::string keyStream =
        Base64DecodeStr(registry.Value(HKCU, settings::AccessKey, "Message0")->bytes);
    for (const std::string& stored : StoredTexts()) {
      EXPECT_FALSE(Holds(UnsealText(machine.volume(), stored), secrets));
      std::string xored = Base64DecodeStr(stored);
      for (std::size_t i = 0; i < xored.size() && i < keyStream.size(); ++i)
        xored[i] = static_cast<char>(xored[i] ^ keyStream[i] ^ known[i]);
      EXPECT_FALSE(Holds(xored, secrets));
    }
    const std::string inner = Unsealed(2, settings::AccountPasswordSuffix);
    const auto opened = machine.protection().Unprotect(inner.substr(5), AccountEntropy);
    ASSERT_TRUE(opened.has_value());
    EXPECT_EQ(Holds(*opened, secrets), !lockOn);
    // Nor does a key anyone could guess open what lies under the lock.
    if (lockOn) EXPECT_FALSE(OpenBox(*BoxKey::From(std::string(32, '\0')), *opened));

    if (lockOn) Prompt("Utility");
    EXPECT_EQ(Delivered(2), "kaelthas/hunter2pass");
    machine.protection().SetUser("thief");
    if (lockOn) Prompt("Utility");
    EXPECT_EQ(Delivered(2), "/");
  }
  EXPECT_EQ(toolkit.UnusedScripts(), 0);
  EXPECT_TRUE(toolkit.unexpected().empty());
}

// Accounts and a utility password of an earlier version: the fill, the editor and the
// title see what they always saw, and no value of the old form is left.
TEST_P(AccountProtectionTest, AnEarlierVersionsStoreWorksAsBeforeAndIsLeftInTheNewForm) {
  const bool lockOn = GetParam();
  {
    Destroy();
    for (const auto& [suffix, text] :
         {std::pair{'N', "Warrior"}, std::pair{'3', "kael"}, std::pair{'7', "hunter2"}})
      registry.SetValue(HKCU, AccountKey(), settings::AccountValueName(1, suffix),
                        RegistryValue::Text(Seal(text)));
    SetAccess("Login", RegistryValue::Text(Seal("Secret")));
    SetAccess("Validate", RegistryValue::Dword(lockOn ? 1 : 0));
    Start();
    EXPECT_EQ(frm->form().Caption(), "Quenlar - Warrior");
    EXPECT_EQ(Unsealed(1, '7').substr(0, 5), std::string("\0QA1U", 5));  // from the start
    if (lockOn) Prompt("Secret");
    EXPECT_EQ(Delivered(1), "kael/hunter2");
    std::vector<std::string> shown;
    if (lockOn) Prompt("Secret");
    toolkit.ScriptModal("", [&](platform::Form& f) {
      for (auto* field : MemoryToolkit::Of(f).All<MemoryEdit>()) shown.push_back(field->Text());
      f.Close();
    });
    toolkit.ScriptModal("Accounts", [](platform::Form& f) {
      MemoryToolkit::Of(f).ButtonCaptioned("&Edit").UserClick();
      f.Close();
    });
    frm->btnAccount->Click();
    EXPECT_EQ(shown, (std::vector<std::string>{"Warrior", "kael", "hunter2"}));
    const std::string form(lockOn ? "\0QA1L" : "\0QA1U", 5);
    for (char suffix : {'3', '7'}) EXPECT_EQ(Unsealed(1, suffix).substr(0, 5), form);
    // The old password gives way to a verifier at its first correct entry.
    EXPECT_EQ(registry.Value(HKCU, settings::AccessKey, "Login")->bytes == Seal("Secret"), !lockOn);
  }
  EXPECT_EQ(toolkit.UnusedScripts(), 0);
}

// Two accounts under the lock, with the password "Utility" on, from a fresh start.
class LockSwitchTest : public AccountProtectionTest {
 protected:
  void SetUp() override {
    AccountProtectionTest::SetUp();
    ASSERT_TRUE(Choose("&Enable Password..."));
    Prompt("Utility", true);
    SaveThroughEditor(1, "Warrior", "kael", "hunter2");
    Prompt("Utility");
    SaveThroughEditor(2, "Mage", "zara", "s3cret");
    Restart();
  }
  void FailWrite(int nth) { registry.faults().Arm({nth, false, FaultKind::Fail, "WriteValue"}); }
  // Both accounts as the game receives them after a fresh start, prompts answered.
  std::string BothDelivered(const std::string& password) {
    Restart();
    const bool on = frm->lock().On();
    if (on) Prompt(password);
    std::string both = Delivered(1);
    if (on) Prompt(password);
    return both + " " + Delivered(2);
  }
};

// Switching the lock on, off, or changing its password rewrites what it protects; a write
// that fails part way loses no account, under whichever password stands.
TEST_F(LockSwitchTest, SwitchingOffWithAWriteFailingPartWayKeepsThePasswordOnAndLosesNothing) {
  Prompt("Utility");
  FailWrite(2);
  toolkit.ScriptMessage(MessageKind::Error, StillUnderLockText, MessageAnswer::Ok);
  ASSERT_TRUE(Choose("&Disable Password..."));
  EXPECT_TRUE(frm->lock().On());
  EXPECT_EQ(BothDelivered("Utility"), "kael/hunter2 zara/s3cret");
  Prompt("Utility");
  ASSERT_TRUE(Choose("&Disable Password..."));
  EXPECT_EQ(BothDelivered(""), "kael/hunter2 zara/s3cret");
  EXPECT_EQ(toolkit.UnusedScripts(), 0);
}

TEST_F(LockSwitchTest, SwitchingOnWithAWriteFailingPartWayLosesNothing) {
  Prompt("Utility");
  ASSERT_TRUE(Choose("&Disable Password..."));
  Restart();
  ASSERT_TRUE(Choose("&Enable Password..."));
  FailWrite(2);  // account 1's password is the value that fails
  Prompt("Utility");
  EXPECT_EQ(Delivered(1), "kael/hunter2");
  EXPECT_EQ(Unsealed(1, '7').substr(0, 5), std::string("\0QA1U", 5));
  EXPECT_EQ(BothDelivered("Utility"), "kael/hunter2 zara/s3cret");
  for (int n : {1, 2})
    for (char suffix : {'3', '7'})
      EXPECT_EQ(Unsealed(n, suffix).substr(0, 5), std::string("\0QA1L", 5)) << n << suffix;
  EXPECT_EQ(toolkit.UnusedScripts(), 0);
}

TEST_F(LockSwitchTest,
       AChangeThatCannotBeStoredKeepsTheOldPasswordAndAChangeThatIsKeepsTheAccounts) {
  Prompt("Utility");
  toolkit.ScriptMessage(MessageKind::Information, Request, MessageAnswer::Ok);
  toolkit.ScriptModal("Utility Login", [this](platform::Form& f) {
    auto& dialog = MemoryToolkit::Of(f);
    dialog.Nth<MemoryEdit>(0).UserType("Fresh");
    dialog.Nth<MemoryEdit>(1).UserType("Fresh");
    FailWrite(1);
    dialog.UserPressEnter();
    f.Close();
  });
  toolkit.ScriptMessageOfKind(MessageKind::Error, MessageAnswer::Ok);
  ASSERT_TRUE(Choose("&Change Password..."));
  EXPECT_EQ(BothDelivered("Utility"), "kael/hunter2 zara/s3cret");
  Prompt("Utility");
  Prompt("Fresh", true);
  ASSERT_TRUE(Choose("&Change Password..."));
  EXPECT_EQ(BothDelivered("Fresh"), "kael/hunter2 zara/s3cret");
  EXPECT_EQ(toolkit.UnusedScripts(), 0);
}

// The game takes 8-bit text: a login or password beyond the code page is refused, and the
// editor keeps what was typed.
TEST_F(AccountProtectionTest, TheEditorRefusesALoginOrPasswordTheGameCannotReceive) {
  const std::string cyrillic = "\xd0\xba\xd0\xbe\xd1\x82";
  for (int field : {1, 2}) {
    SCOPED_TRACE(field);
    std::vector<std::string> kept;
    toolkit.ScriptModal("", [&](platform::Form& f) {
      auto& editor = MemoryToolkit::Of(f);
      const std::string texts[] = {"Warrior", field == 1 ? cyrillic : "kael",
                                   field == 2 ? cyrillic : "hunter2"};
      for (int i = 0; i < 3; ++i) editor.Nth<MemoryEdit>(i).UserTypeUtf8(texts[i]);
      editor.UserPressEnter();
      for (auto* edit : editor.All<MemoryEdit>()) kept.push_back(edit->TextUtf8());
      kept.push_back(f.Showing() ? "open" : "closed");
      f.Close();
    });
    toolkit.ScriptMessage(MessageKind::Information, CannotReceiveText("this login or password"),
                          MessageAnswer::Ok);
    toolkit.ScriptModal("Accounts", [](platform::Form& f) {
      MemoryToolkit::Of(f).ButtonCaptioned("&Edit").UserClick();
      f.Close();
    });
    frm->btnAccount->Click();
    EXPECT_EQ(kept, (std::vector<std::string>{"Warrior", field == 1 ? cyrillic : "kael",
                                              field == 2 ? cyrillic : "hunter2", "open"}));
    EXPECT_EQ(Unsealed(1, 'N'), "<missing>");
  }
  EXPECT_EQ(toolkit.UnusedScripts(), 0);
}

INSTANTIATE_TEST_SUITE_P(LockOffAndOn, AccountProtectionTest, ::testing::Bool());

}  // namespace
}  // namespace main_window_test
