// A whole game from "&Play": the stand-in started with the server address in its folder,
// its login screen filled (after the decoys in stealth mode), the prepared lines in its
// chat, the player's clipboard kept (a text, or a picture); a client that ends or hangs
// in the middle of the fill; and the password dragged with the real mouse.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "core/sealing.h"
#include "e2e/e2e_test_support.h"
#include "e2e/game_play.h"
#include "platform/win32/win32_system.h"

namespace e2e {
namespace {

using Game = QuenlarTest;

constexpr const char* Guard = "Secret";

// A first run, then a start with an account saved through the editor and two lines ready.
QuenlarRun& Prepared(const Installation& setup, std::unique_ptr<QuenlarRun>& run,
                     const std::string& name) {
  run = std::make_unique<QuenlarRun>(setup, name);
  run->WaitForScan();
  SaveAccount(*run, "Warrior", "hero", "pa55word");
  SetMessages(*run, {"hello all", "see you", "", "never"});
  return *run;
}

// A picture of 2 by 2 pixels of 24 bits (rows padded to 4 bytes), as a paint program copies it.
const std::string Picture = std::string("\x28\0\0\0\x02\0\0\0\x02\0\0\0\x01\0\x18\0", 16) +
                            std::string(24, '\0') +
                            std::string("\xff\0\0\0\xff\0\0\0\0\0\xff\x80\x80\x80\0\0", 16);

DWORD PriorityOf(QuenlarRun& run) {
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, run.process().id());
  DWORD priority = GetPriorityClass(process);
  CloseHandle(process);
  return priority;
}

struct Play {
  const char* folder;  // the game's folder, with its trailing backslash (UTF-8)
  bool stealth;
};

void PrintTo(const Play& play, std::ostream* out) {
  *out << play.folder << (play.stealth ? " stealth" : " plain");
}

class GamePlay : public QuenlarTest, public ::testing::WithParamInterface<Play> {};

// Chosen in the real open dialog at the first start, scanned clean at the next, played.
TEST_P(GamePlay, PlayFillsTheLoginScreenAndPostsThePreparedLines) {
  const Play& play = GetParam();
  const std::string folder = play.folder;
  const std::string transcript = folder + "mir-transcript.txt";
  InstallGameIn(setup, folder);
  CompleteFirstRun(folder + "mir.exe");
  std::unique_ptr<QuenlarRun> holder;
  QuenlarRun& run = Prepared(setup, holder, Start());
  const std::vector<std::string> log = run.Log();  // the scan's, then the account's line
  EXPECT_EQ(std::vector<std::string>(log.begin(),
                                     log.begin() + std::min(log.size(), CleanScanLog.size())),
            CleanScanLog);
  if (play.stealth) ChooseMenu(run.MainWindow(), {{"&Options"}, {"&Stealth Mode"}});
  // The player's clipboard: a picture in the stealth game, a text in the other.
  if (play.stealth)
    SetClipboardPicture(Picture);
  else
    SetClipboardText("the player's own text");

  PostClick(run.Button("&Play"));
  auto events = WaitForGameEvents("chat", 2, 60000, transcript);
  Pump(3500);  // a third line would have come by now
  events = LatestGameEvents(transcript);
  SaveScreen(setup, Start() + (play.stealth ? ".Stealth" : ".Plain"));

  std::string server, cwd, submitted;
  for (const auto& e : events) {
    if (e.kind == "server") server = e.fields.at(0);
    if (e.kind == "cwd") cwd = e.fields.at(0);
    if (e.kind == "login-submitted") submitted = e.fields.at(1) + "/" + e.fields.at(3);
  }
  EXPECT_EQ(server, "192.0.2.16");
  EXPECT_EQ(cwd, folder.substr(0, folder.size() - 1));
  EXPECT_EQ(submitted, "hero/pa55word");
  const auto logins = TextsSet(events, "login");
  const auto passwords = TextsSet(events, "password");
  const size_t decoys = play.stealth ? 1025 : 0;
  ASSERT_EQ(logins.size(), decoys + 1);
  ASSERT_EQ(passwords.size(), decoys + 1);
  EXPECT_EQ(logins.back(), "hero");
  EXPECT_EQ(passwords.back(), "pa55word");
  for (size_t i = 0; i < decoys; ++i) {
    ASSERT_EQ(logins[i].size(), 10u);
    ASSERT_EQ(logins[i], passwords[i]);
  }
  EXPECT_EQ(ChatLines(events), (std::vector<std::string>{"hello all", "see you"}));
  if (play.stealth) {
    EXPECT_EQ(ClipboardBytes(CF_DIB).substr(0, Picture.size()), Picture);
    EXPECT_EQ(ClipboardText(), "");
  } else {
    EXPECT_EQ(ClipboardText(), "the player's own text");
  }
  EXPECT_EQ(PriorityOf(run), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
  EXPECT_EQ(run.Log().back(), "Launching Mir");
  EXPECT_EQ(run.Exit(ExitBy::Button, {}), 0u);
  if (HWND game = FindWindowA("TDXDraw", nullptr)) PostMessageA(game, WM_CLOSE, 0, 0);
  WaitForGameEvents("exit", 1, DefaultTimeoutMs, transcript);
}

INSTANTIATE_TEST_SUITE_P(Folders, GamePlay,
                         ::testing::Values(Play{GameFolder, true}, Play{GameFolder, false},
                                           // Beyond ASCII, in the code page of a Western
                                           // system, then beyond it.
                                           Play{"C:\\Spiele\\Mir Müll\\", false},
                                           Play{"C:\\Игры\\Мир\\", false}));

// Where the account came from, and whether the utility password is on.
enum class Store { SavedLockOff, SavedLockOn, EarlierVersion };

void PrintTo(Store store, std::ostream* out) {
  *out << (store == Store::SavedLockOff  ? "saved, lock off"
           : store == Store::SavedLockOn ? "saved, lock on"
                                         : "an earlier version's");
}

class ProtectedStore : public QuenlarTest, public ::testing::WithParamInterface<Store> {};

constexpr const char* AccountKey = "Software\\Palvex\\Keyring";

// An account saved through the editor (the utility password on or off) or left by an
// earlier version, filled at "&Play"; afterwards nothing in the store is the old form.
TEST_P(ProtectedStore, PlayFillsTheLoginFromTheStore) {
  const Store store = GetParam();
  platform::win32::Win32Volume volume;
  CompleteFirstRun();
  if (store == Store::EarlierVersion)
    for (const auto& [name, text] :
         {std::pair{"1N", "Warrior"}, std::pair{"13", "hero"}, std::pair{"17", "pa55word"}})
      WriteString(AccountKey, name, SealText(volume, text));
  QuenlarRun run(setup, Start());
  run.WaitForScan();
  if (store == Store::SavedLockOn) {
    ChooseMenu(run.MainWindow(), {{"&Menu"}, {"&Enable Password..."}});
    SaveAccount(run, "Warrior", "hero", "pa55word", [&] { SetUtilityPassword(run, Guard); });
  } else if (store == Store::SavedLockOff) {
    SaveAccount(run, "Warrior", "hero", "pa55word");
  }
  PostClick(run.Button("&Play"));
  if (store == Store::SavedLockOn) LoginWith(run, Guard);
  std::string submitted;
  for (const auto& e : WaitForGameEvents("login-submitted", 1, 60000))
    if (e.kind == "login-submitted") submitted = e.fields.at(1) + "/" + e.fields.at(3);
  EXPECT_EQ(submitted, "hero/pa55word");
  for (const char* name : {"13", "17"}) {
    const auto stored = ReadString(AccountKey, name);
    ASSERT_TRUE(stored);
    const std::string inner = UnsealText(volume, *stored);
    EXPECT_EQ(inner.substr(0, 4), std::string("\0QA1", 4)) << name;
    EXPECT_EQ(inner.find("hero"), std::string::npos);
    EXPECT_EQ(inner.find("pa55word"), std::string::npos);
  }
  EXPECT_EQ(run.Exit(ExitBy::Button, {}), 0u);
  if (HWND game = FindWindowA("TDXDraw", nullptr)) PostMessageA(game, WM_CLOSE, 0, 0);
  WaitForGameEvents("exit", 1);
}

INSTANTIATE_TEST_SUITE_P(Stores, ProtectedStore,
                         ::testing::Values(Store::SavedLockOff, Store::SavedLockOn,
                                           Store::EarlierVersion));

// Trouble for the stand-in (see standin/README.md) while it lives.
struct GameTrouble {
  explicit GameTrouble(const char* what) { SetEnvironmentVariableA("MIR_STANDIN_TROUBLE", what); }
  ~GameTrouble() { SetEnvironmentVariableA("MIR_STANDIN_TROUBLE", nullptr); }
};

std::vector<std::string> WaitForLogLine(QuenlarRun& run, const std::string& line) {
  const ULONGLONG end = GetTickCount64() + 60000;
  for (;;) {
    auto log = run.Log();
    if (!log.empty() && log.back() == line) return log;
    if (GetTickCount64() > end) throw DriverError("the log never ended with \"" + line + "\"");
    Pump(200);
  }
}

TEST_F(Game, AClientThatEndsOrHangsDuringTheFillGetsNoSecretAndNoEnter) {
  struct Case {
    const char* trouble;
    bool stealth;
    size_t texts;  // what the client took before the trouble
    const char* line;
  };
  for (const Case& c :
       {Case{"exit 1", false, 1,
             "Mir's login screen is gone: the login and password were not sent"},
        Case{"hang 200 7000", true, 200,
             "Mir stopped answering: the login was broken off and nothing was submitted"}}) {
    SCOPED_TRACE(c.trouble);
    ResetUserState(setup);
    CompleteFirstRun();
    GameTrouble trouble(c.trouble);
    std::unique_ptr<QuenlarRun> holder;
    QuenlarRun& run = Prepared(setup, holder, Start());
    if (c.stealth) ChooseMenu(run.MainWindow(), {{"&Options"}, {"&Stealth Mode"}});
    // Under both points once the client is gone (the client opens above it).
    HWND main = run.MainWindow();
    SetWindowPos(main, nullptr, 250, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Pump(300);

    PostClick(run.Button("&Play"));
    WaitForLogLine(run, c.line);
    Pump(c.stealth ? 6000 : 1000);  // the hung client wakes up and handles what waited
    const auto events = LatestGameEvents();
    EXPECT_EQ(TextsSet(events, "login").size() + TextsSet(events, "password").size(), c.texts);
    for (const auto& e : events) EXPECT_NE(e.kind, "login-submitted");
    // Not a letter of the account on the program's own windows.
    EXPECT_EQ(TextOf(main).find("hero"), std::string::npos) << TextOf(main);
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      EXPECT_EQ(TextOf(child).find("pa55word"), std::string::npos);
    EXPECT_EQ(run.Exit(ExitBy::Button, {}), 0u);
    if (HWND game = FindWindowA("TMirLoginScreen", nullptr)) PostMessageA(game, WM_CLOSE, 0, 0);
    WaitForGameEvents("exit", 1);
  }
}

// A program keeps a "TEdit" window on top at the login point: it gets neither text nor
// Enter, the log names it in red, and once it is gone the game is filled as always.
TEST_F(Game, AFieldOfAnotherProgramAtTheLoginPointGetsNothing) {
  CompleteFirstRun();
  std::unique_ptr<QuenlarRun> holder;
  QuenlarRun& run = Prepared(setup, holder, Start());
  const std::string keeperLog = JoinPath(setup.artifacts, Start() + ".keeper.txt");
  DeleteFileA(keeperLog.c_str());
  const std::string keeperExe = WindowsPath(RequiredEnvironment("E2E_FIELD_KEEPER_EXE"));
  Process keeper = Process::Start(keeperExe, "\"" + keeperLog + "\"", GameFolder);
  auto keeperSaw = [&] {
    return GetFileAttributesA(keeperLog.c_str()) == INVALID_FILE_ATTRIBUTES
               ? std::string()
               : ReadFileBytes(keeperLog);
  };
  for (int i = 0; i < 100 && keeperSaw().find("ready") == std::string::npos; ++i) Pump(100);

  PostClick(run.Button("&Play"));
  const auto log = WaitForLogLine(run, "The login and password were not sent");
  ASSERT_GE(log.size(), 2u);
  const std::string named = log[log.size() - 2];
  EXPECT_EQ(named.rfind("Warning - A window of another program sits on Mir's login field: ", 0), 0u)
      << named;
  EXPECT_NE(named.find("field_keeper.exe"), std::string::npos) << named;
  Pump(1500);
  EXPECT_EQ(keeperSaw(), "ready\n");
  EXPECT_EQ(TextsSet(LatestGameEvents(), "login").size(), 0u);
  SaveScreen(setup, Start() + ".Keeper");

  keeper.Terminate();
  if (HWND game = FindWindowA("TMirLoginScreen", nullptr)) PostMessageA(game, WM_CLOSE, 0, 0);
  WaitForGameEvents("exit", 1);
  PostClick(run.Button("&Play"));
  std::string submitted;
  for (const auto& e : WaitForGameEvents("login-submitted", 1, 60000))
    if (e.kind == "login-submitted") submitted = e.fields.at(1) + "/" + e.fields.at(3);
  EXPECT_EQ(submitted, "hero/pa55word");
  EXPECT_EQ(run.Exit(ExitBy::Button, {}), 0u);
  if (HWND game = FindWindowA("TDXDraw", nullptr)) PostMessageA(game, WM_CLOSE, 0, 0);
  WaitForGameEvents("exit", 1);
}

TEST_F(Game, ThePasswordDraggedOntoTheGameFieldLandsThere) {
  CompleteFirstRun();
  std::unique_ptr<QuenlarRun> holder;
  QuenlarRun& run = Prepared(setup, holder, Start());
  Process game = Process::Start(GameExe, "192.0.2.16", GameFolder);
  WaitForGameEvents("screen", 1);
  // The main window away from the game's area, on top, its button in reach of the mouse.
  HWND main = run.MainWindow();
  SetWindowPos(main, HWND_TOPMOST, 560, 400, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  Pump(300);
  POINT button{9 + 12, 200 + 12};
  ClientToScreen(main, &button);

  DragWithMouse(button, POINT{400, 300});
  SetUtilityPassword(run, Guard);  // asked at every release, set at the first
  const auto events = WaitForGameEvents("set", 1);
  EXPECT_EQ(TextsSet(events, "password"), std::vector<std::string>{"pa55word"});
  SaveScreen(setup, "Game.Drag");

  // A press and release with no move has no target: nothing more is sent.
  ClickWithMouse(button);
  LoginWith(run, Guard);
  Pump(500);
  EXPECT_EQ(TextsSet(LatestGameEvents(), "password").size(), 1u);
  EXPECT_EQ(run.Exit(ExitBy::Button, {}), 0u);
  game.Terminate();
}

}  // namespace
}  // namespace e2e
