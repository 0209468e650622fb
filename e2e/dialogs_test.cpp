// The utility password, the account editor and the canned messages through the real
// dialogs, and what of them a restart finds in the registry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/e2e_test_support.h"
#include "e2e/game_play.h"

namespace e2e {
namespace {

using Dialogs = QuenlarTest;

constexpr const char* AccountKey = "Software\\Palvex\\Keyring";

void Screenshot(const Installation& setup, HWND window, const std::string& name) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump(300);
  SaveBmp(CaptureWindow(window), JoinPath(setup.artifacts, "Dialogs." + name + ".bmp"));
}

// Sealed values are Base64 text, never the plain text.
void ExpectSealed(const std::optional<std::string>& stored, const std::string& plain) {
  ASSERT_TRUE(stored);
  EXPECT_FALSE(stored->empty());
  EXPECT_NE(*stored, plain);
  EXPECT_EQ(stored->find_first_not_of(
                "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/="),
            std::string::npos);
}

TEST_F(Dialogs, PasswordAccountAndMessagesSurviveARestartAsStored) {
  CompleteFirstRun();
  {
    // Account 3 is the one in use from the start.
    HKEY key;
    RegCreateKeyExA(HKEY_CURRENT_USER, AccessKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                    nullptr);
    DWORD three = 3;
    RegSetValueExA(key, "Acc", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&three), sizeof three);
    RegCloseKey(key);
  }

  QuenlarRun run(setup, Start());
  run.WaitForScan();
  ChooseMenu(run.MainWindow(), {{"&Menu"}, {"&Enable Password..."}});
  for (int i = 0; i < 50 && ReadDword(AccessKey, "Validate") != 1u; ++i) Pump(100);
  EXPECT_EQ(ReadDword(AccessKey, "Validate"), 1u);

  PostClick(run.Button("&Accounts..."));
  HWND accounts = WaitForDialog(run, "Accounts");
  Screenshot(setup, accounts, "Accounts");
  PostClick(FindChild(accounts, "Button", "&Edit"));
  run.Answer("Information", NewPasswordRequest, "OK");
  Screenshot(setup, WaitForDialog(run, "Utility Login"), "UtilityLogin");
  LoginWith(run, "Secret", "Secret");
  HWND editor = WaitForDialog(run, "");
  std::vector<HWND> fields = Edits(editor);
  ASSERT_EQ(fields.size(), 3u);
  SetText(fields[0], "Warrior");
  SetText(fields[1], "hero");
  SetText(fields[2], "pa55word");
  Screenshot(setup, editor, "AccountEditor");
  PostClick(FindChild(editor, "Button", "Save"));
  WaitUntilGone(editor, "the account editor");
  PostClick(FindChild(accounts, "Button", "&Close"));
  WaitUntilGone(accounts, "the account list");
  EXPECT_EQ(run.Title(), "Quenlar - Warrior");

  ChooseMenu(run.MainWindow(), {{"&Options"}, {"Messaging...", 3}});
  HWND messaging = WaitForDialog(run, "Messaging");
  HWND memo = FindMultiLineEdit(messaging);
  ASSERT_TRUE(memo);
  EXPECT_EQ(Lines(TextOf(memo)).size(), 26u);
  SetText(memo, "hello all\r\nsee you\r\n");
  Screenshot(setup, messaging, "Messaging");
  PostClick(FindChild(messaging, "Button", "&OK"));
  WaitUntilGone(messaging, "the message editor");

  ChooseMenu(run.MainWindow(), {{"&Options"}, {"Message Target...", 2}});
  HWND target = WaitForDialog(run, "Message Target");
  SetText(FindChild(target, "Edit"), "Kael");
  Screenshot(setup, target, "MessageTarget");
  PostClick(FindChild(target, "Button", "OK"));
  WaitUntilGone(target, "the message target box");
  for (int i = 0; i < 50 && run.Log().back() != "Message Target: Kael"; ++i) Pump(100);
  EXPECT_EQ(run.Log().back(), "Message Target: Kael");
  EXPECT_EQ(run.Exit(ExitBy::Button, {}), 0u);

  ExpectSealed(ReadString(AccessKey, "Message0"), "hello all");
  ExpectSealed(ReadString(AccessKey, "Message1"), "see you");
  EXPECT_EQ(ReadString(AccessKey, "Message2"), "");
  EXPECT_EQ(ReadString(AccessKey, "MessageTarget"), "Kael");
  ExpectSealed(ReadString(AccessKey, "Login"), "Secret");
  ExpectSealed(ReadString(AccountKey, "3N"), "Warrior");
  ExpectSealed(ReadString(AccountKey, "33"), "hero");
  ExpectSealed(ReadString(AccountKey, "37"), "pa55word");

  QuenlarRun again(setup, Start());
  again.WaitForScan();
  EXPECT_EQ(again.Title(), "Quenlar - Warrior");
  PostClick(again.Button("&Accounts..."));
  accounts = WaitForDialog(again, "Accounts");
  PostClick(FindChild(accounts, "Button", "&Edit"));
  LoginWith(again, "SECRET", {}, "Invalid Password!");
  PostClick(FindChild(accounts, "Button", "&Edit"));
  LoginWith(again, "Secret");
  editor = WaitForDialog(again, "");
  fields = Edits(editor);
  ASSERT_EQ(fields.size(), 3u);
  EXPECT_EQ(TextOf(fields[0]), "Warrior");
  EXPECT_EQ(TextOf(fields[1]), "hero");
  PostMessageA(editor, WM_CLOSE, 0, 0);
  WaitUntilGone(editor, "the account editor");
  PostClick(FindChild(accounts, "Button", "&Close"));
  WaitUntilGone(accounts, "the account list");
  EXPECT_EQ(again.Exit(ExitBy::Button, {}), 0u);
}

}  // namespace
}  // namespace e2e
