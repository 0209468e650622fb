#include "platform/memory/memory_desktop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game_client/contract.h"
#include "tests/support/simulated_machine.h"

using platform::GameEventKind;
using platform::MemoryDesktop;
using platform::MemoryShell;
using platform::MessageFate;
using platform::Point;
using platform::SimulatedGameClient;
using platform::SimulatedMachine;
using platform::WindowHandle;
using platform::WindowMessageId;

namespace {

constexpr int Enter = 13;

class DesktopTest : public ::testing::Test {
 protected:
  DesktopTest() {
    platform::FormSpec spec;
    spec.caption = "Quenlar";
    spec.clientWidth = 442;
    spec.clientHeight = 279;
    form = machine.toolkit().CreateForm(spec, {});
    log = &form->AddMemo({{8, 64, 425, 129}, {}, 0, true});
    play = &form->AddButton({.bounds = {359, 200, 75, 25}, .caption = "&Play", .onClick = {}});
    label = &form->AddLabel({.bounds = {12, 16, 347, 32},
                             .caption = "If you don't see this message",
                             .font = {},
                             .onClick = {},
                             .onMouseMove = {}});
    edtTime = &form->AddEdit({{}, "Time", 0, false});
    edtTemp = &form->AddEdit({{}, "", 0, false});
  }

  // Starts the game through the shell and waits for its login screen.
  SimulatedGameClient& LaunchGame() {
    machine.InstallGame("C:\\Games\\Mir\\mir.exe");
    EXPECT_EQ(machine.shell().Open(form->Handle(), "C:\\Games\\Mir\\mir.exe", "192.0.2.16",
                                   "C:\\Games\\Mir", platform::ShowNormal),
              MemoryShell::Success);
    machine.toolkit().RunFor(platform::SimulatedGames::DefaultLoginDelayMs);
    return machine.games().latest();
  }

  // Puts text on the clipboard the way the program does: through an own edit.
  void CopyThrough(platform::Edit& edit, const std::string& text) {
    edit.SetText(text);
    edit.SelectAll();
    desktop.PostCopy(edit.Handle());
    machine.toolkit().ProcessMessages();
  }

  SimulatedMachine machine;
  MemoryDesktop& desktop = machine.desktop();
  std::unique_ptr<platform::Form> form;
  platform::Memo* log;
  platform::Button* play;
  platform::Control* label;
  platform::Edit* edtTime;
  platform::Edit* edtTemp;
};

TEST_F(DesktopTest, WindowFromPointFindsTheProgramsOwnShownControls) {
  EXPECT_EQ(desktop.WindowFromPoint(log->ClientToScreen({10, 10})), 0u);  // not shown yet
  form->Show();
  const Point inLog = log->ClientToScreen({10, 10});
  // Centred on the 1024 x 768 screen, frame included.
  const auto bounds = machine.toolkit().Of(*form).ScreenBounds();
  EXPECT_EQ(bounds.left, (1024 - bounds.width) / 2);
  EXPECT_EQ(bounds.top, (768 - bounds.height) / 2);
  EXPECT_EQ(log->ClientToScreen({0, 0}).x, bounds.left + 3 + 8);

  EXPECT_EQ(desktop.WindowFromPoint(inLog), log->Handle());
  EXPECT_EQ(desktop.ClassName(form->Handle(), 144), "Form");
  EXPECT_EQ(desktop.ClassName(0xdead, 144), "");
  form->Close();
  EXPECT_EQ(desktop.WindowFromPoint(inLog), 0u);
}

TEST_F(DesktopTest, ClipboardRoundTripThroughOwnEdits) {
  desktop.SetClipboard("player's text");
  edtTemp->SelectAll();
  desktop.PostPaste(edtTemp->Handle());
  EXPECT_EQ(edtTemp->Text(), "");  // posted: nothing happens before messages are handled
  machine.toolkit().ProcessMessages();
  EXPECT_EQ(edtTemp->Text(), "player's text");

  CopyThrough(*edtTime, "01:20:00");
  EXPECT_EQ(desktop.clipboard(), "01:20:00");

  // Back again: the player's text returns to the clipboard.
  edtTemp->SelectAll();
  desktop.PostCopy(edtTemp->Handle());
  machine.toolkit().ProcessMessages();
  EXPECT_EQ(desktop.clipboard(), "player's text");

  // Setting the text drops the selection: a copy then leaves the clipboard alone.
  edtTime->SetText("other");
  desktop.PostCopy(edtTime->Handle());
  machine.toolkit().ProcessMessages();
  EXPECT_EQ(desktop.clipboard(), "player's text");
}

TEST_F(DesktopTest, AnEmptyClipboardPastesNothing) {
  edtTemp->SetText("kept");
  desktop.SetClipboard(std::nullopt);
  edtTemp->SelectAll();
  desktop.PostPaste(edtTemp->Handle());
  machine.toolkit().ProcessMessages();
  EXPECT_EQ(edtTemp->Text(), "kept");
}

TEST_F(DesktopTest, SetTextReachesOwnWindowsAtOnceAndIsJournalled) {
  form->Show();
  desktop.SendSetText(log->Handle(), 144, "hunter2");
  EXPECT_EQ(log->Text(), "hunter2");
  desktop.SendSetText(play->Handle(), 144, nullptr);
  EXPECT_EQ(play->Text(), "");
  desktop.SendSetText(0, 144, "nowhere");

  const auto& journal = desktop.messages();
  ASSERT_EQ(journal.size(), 3u);
  EXPECT_EQ(journal[0].className, "Edit");
  EXPECT_EQ(journal[0].wparam, 144u);
  EXPECT_EQ(journal[0].text, "hunter2");
  EXPECT_FALSE(journal[0].posted);
  EXPECT_EQ(journal[2].fate, MessageFate::NoWindow);
}

TEST_F(DesktopTest, AnotherProcessHandlesItsPostsWhenTheProgramSleepsOrPumps) {
  auto& game = LaunchGame();
  const WindowHandle login = game.loginField();
  desktop.SendSetText(login, 144, "kael");
  desktop.SendSetText(game.passwordField(), 144, "pw");
  desktop.PostKeyDown(game.passwordField(), Enter);
  desktop.PostKeyUp(game.passwordField(), Enter);
  desktop.PostPaste(login);  // still waiting when the submit takes the field away
  EXPECT_EQ(desktop.PendingCount(), 3);
  EXPECT_TRUE(game.Logins().empty());
  desktop.PostCopy(edtTemp->Handle());
  machine.clock().Sleep(10);  // the game runs; the program's own post waits
  EXPECT_EQ(game.Logins().size(), 1u);
  EXPECT_EQ(desktop.PendingForProgram(), 1);
  machine.toolkit().ProcessMessages();
  EXPECT_EQ(desktop.PendingCount(), 0);

  EXPECT_EQ(desktop.MessagesOfKind(WindowMessageId::KeyUp).front().fate, MessageFate::Handled);
  EXPECT_EQ(desktop.MessagesOfKind(WindowMessageId::Paste).front().fate, MessageFate::Dropped);
  desktop.PostKeyDown(login, Enter);
  EXPECT_EQ(desktop.messages().back().fate, MessageFate::NoWindow);
  EXPECT_EQ(desktop.PendingCount(), 0);
}

TEST_F(DesktopTest, WholeLoginAndChatPostAgainstTheSimulatedGame) {
  form->Show();
  auto& game = LaunchGame();
  EXPECT_EQ(game.launch().parameters, "192.0.2.16");
  EXPECT_EQ(game.launch().directory, "C:\\Games\\Mir");

  // The game lies above the program's window.
  const WindowHandle login = desktop.WindowFromPoint(game_client::LoginPoint);
  ASSERT_EQ(desktop.ClassName(login, 144), "TEdit");
  desktop.SendSetText(login, 144, "kael");
  desktop.SendSetText(desktop.WindowFromPoint(game_client::PasswordPoint), 144, "hunter2");
  machine.toolkit().ProcessMessages();
  const WindowHandle password = desktop.WindowFromPoint(game_client::PasswordPoint);
  desktop.PostKeyDown(password, Enter);
  desktop.PostKeyUp(password, Enter);
  machine.toolkit().RunFor(100);

  ASSERT_EQ(game.Logins().size(), 1u);
  EXPECT_EQ(game.Logins()[0].login, "kael");
  EXPECT_EQ(game.Logins()[0].password, "hunter2");
  const WindowHandle main = desktop.WindowFromPoint(game_client::GameWindowPoint);
  EXPECT_EQ(desktop.ClassName(main, 144), "TDXDraw");
  EXPECT_EQ(desktop.WindowFromPoint(game_client::ChatPoint), main);

  // A chat line, posted without typing: through the clipboard.
  CopyThrough(*edtTime, "/Kael 01:20:00");
  desktop.PostKeyDown(main, Enter);
  machine.clock().Sleep(250);
  const WindowHandle chat = desktop.WindowFromPoint(game_client::ChatPoint);
  ASSERT_EQ(desktop.ClassName(chat, 144), "TEdit");
  desktop.PostPaste(chat);
  machine.clock().Sleep(250);
  desktop.PostKeyDown(chat, Enter);
  machine.toolkit().ProcessMessages();

  EXPECT_EQ(game.ChatLines(), (std::vector<std::string>{"/Kael 01:20:00"}));
  EXPECT_EQ(desktop.WindowFromPoint(game_client::ChatPoint), main);  // the line closed
  EXPECT_EQ(game.TextsSet("login"), (std::vector<std::string>{"kael"}));
  std::vector<GameEventKind> kinds;
  for (const auto& e : game.events()) kinds.push_back(e.kind);
  EXPECT_EQ(kinds,
            (std::vector<GameEventKind>{
                GameEventKind::Launched, GameEventKind::LoginScreenShown, GameEventKind::TextSet,
                GameEventKind::TextSet, GameEventKind::LoginSubmitted, GameEventKind::GameShown,
                GameEventKind::ChatOpened, GameEventKind::Pasted, GameEventKind::ChatSent}));
}

TEST_F(DesktopTest, TheLoginScreenComesOnlyAfterTheDelay) {
  machine.games().SetLoginDelay(5000);
  machine.InstallGame("C:\\Games\\Mir\\mir.exe");
  machine.shell().Open(0, "c:\\games\\MIR\\mir.exe", "", "", platform::ShowNormal);
  machine.toolkit().RunFor(4999);
  EXPECT_EQ(desktop.WindowFromPoint(game_client::LoginPoint), 0u);
  machine.clock().Sleep(1);  // the game runs while the program sleeps
  EXPECT_EQ(desktop.ClassName(desktop.WindowFromPoint(game_client::LoginPoint), 144), "TEdit");
}

TEST_F(DesktopTest, ShellJournalsEveryCallAndFailsForMissingFiles) {
  auto& shell = machine.shell();
  EXPECT_EQ(shell.Open(0, "", "", "", platform::ShowNormal), MemoryShell::FileNotFound);
  EXPECT_EQ(shell.Open(0, "C:\\Games\\Mir\\mir.exe", "", "", 5), MemoryShell::FileNotFound);
  EXPECT_EQ(shell.Open(0, "mailto:help@example.org?Subject=Problem", "", "", 5),
            MemoryShell::Success);
  machine.InstallGame("C:\\Games\\Mir\\mir.exe");
  shell.FailNext(31);
  EXPECT_EQ(shell.Open(0, "C:\\Games\\Mir\\mir.exe", "", "", 5), 31);
  EXPECT_EQ(machine.games().count(), 0);

  shell.Open(0, "C:\\Games\\Mir\\mir.exe", "a", "", 5);
  shell.Open(0, "C:\\Games\\Mir\\mir.exe", "b", "", 5);
  machine.toolkit().RunFor(2000);
  ASSERT_EQ(machine.games().count(), 2);
  EXPECT_EQ(shell.calls().size(), 6u);
  EXPECT_TRUE(shell.calls().back().started);
  // The newer client lies on top.
  const WindowHandle field = desktop.WindowFromPoint(game_client::LoginPoint);
  EXPECT_EQ(desktop.OwnerOf(field), machine.games().latest().process());
  EXPECT_EQ(machine.games().latest().launch().parameters, "b");
}

TEST(MemoryProcess, JournalsPriorityChangesInOrderWithTheMessages) {
  SimulatedMachine machine;
  auto& process = machine.process();
  EXPECT_EQ(process.ExecutablePath(), "C:\\Program Files\\Quenlar\\Quenlar.exe");
  process.SetExecutablePath("D:\\Copy\\Quenlar.exe");
  EXPECT_EQ(process.ExecutablePath(), "D:\\Copy\\Quenlar.exe");
  EXPECT_TRUE(process.SetPriorityClass(platform::PriorityClass::Realtime));
  machine.desktop().SendSetText(0, 144, "x");
  EXPECT_TRUE(process.SetThreadPriority(platform::ThreadPriority::Highest));
  process.FailPriorityChanges(true);
  EXPECT_FALSE(process.SetPriorityClass(platform::PriorityClass::Normal));
  EXPECT_EQ(process.processClass(), platform::PriorityClass::Realtime);
  ASSERT_EQ(process.priorities().size(), 3u);
  EXPECT_EQ(process.priorities()[0].messagesBefore, 0u);
  EXPECT_EQ(process.priorities()[1].messagesBefore, 1u);
  EXPECT_FALSE(process.priorities()[1].isProcessClass);
}

}  // namespace
