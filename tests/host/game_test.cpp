#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "accounts/account_key.h"
#include "accounts/credential_delivery.h"
#include "companions/time_online.h"
#include "game_client/contract.h"
#include "tests/host/main_window_support.h"

namespace main_window_test {
namespace {

using platform::MemoryEdit;
using platform::MemorySpeedButton;
using platform::MemoryToolkit;
using platform::PriorityClass;
using platform::RegistryValue;
using platform::ThreadPriority;
using platform::WindowMessageId;
using ::testing::ElementsAre;

constexpr const char* Game = "C:\\Games\\Mir\\mir.exe";

class GameTest : public MainWindowTest {
 protected:
  void SetUp() override {
    machine.InstallGame(Game);
    registry.SetValue(HKCU, settings::ProductKey, "Path", RegistryValue::Text(Seal(Game)));
    StoreAccount(1, "kael", "hunter2");
    Create();
    Scan();
  }
  void StoreAccount(int account, const std::string& login, const std::string& password) {
    registry.SetValue(HKCU, AccountKey(), settings::AccountValueName(account, '3'),
                      RegistryValue::Text(Seal(login)));
    registry.SetValue(HKCU, AccountKey(), settings::AccountValueName(account, '7'),
                      RegistryValue::Text(Seal(password)));
  }
  // The utility prompt, answered with `password` or closed when it is null.
  void AnswerPrompt(const char* password) {
    toolkit.ScriptModal("Utility Login", [=](platform::Form& f) {
      if (!password) return f.Close();
      MemoryToolkit::Of(f).Nth<MemoryEdit>(0).UserType(password);
      MemoryToolkit::Of(f).UserPressEnter();
    });
  }
  platform::SimulatedGameClient& Play() {
    frm->btnPlay->Click();
    toolkit.RunFor(platform::SimulatedGames::DefaultLoginDelayMs + 700);
    return machine.games().latest();
  }
  std::vector<platform::MessageRecord> SetTexts() {
    return machine.desktop().MessagesOfKind(WindowMessageId::SetText);
  }
};

TEST_F(GameTest, PlayLogsThenOpensTheGameHalfASecondLaterInItsFolder) {
  struct Case {
    std::string path;
    std::string directory;
  };
  for (const Case& c : {Case{Game, "C:\\Games\\Mir"}, Case{"mir.exe", ""},
                        Case{"C:\\Games\\Mir\\game.exe", "C:\\Games\\Mir\\"}}) {
    SCOPED_TRACE(c.path);
    machine.files().AddFile(c.path, "MZ");
    registry.SetValue(HKCU, settings::ProductKey, "Path", RegistryValue::Text(Seal(c.path)));
    frm->state().messages.MessageCursor = 7;
    const auto shellCalls = machine.shell().calls().size();
    const std::int64_t pressed = machine.clock().nowMs();
    const platform::DateTime now = machine.clock().Now();
    frm->btnPlay->Click();

    EXPECT_EQ(LogLines().back(), "Launching Mir");
    ASSERT_EQ(machine.shell().calls().size(), shellCalls + 1);
    const auto& call = machine.shell().calls().back();
    EXPECT_EQ(call.atMs, pressed + 500);
    EXPECT_EQ(call.owner, frm->form().Handle());
    EXPECT_EQ(call.file, c.path);
    EXPECT_EQ(call.parameters, game_client::GameServerAddress);
    EXPECT_EQ(call.directory, c.directory);
    EXPECT_EQ(call.showCommand, 5);
    EXPECT_EQ(frm->state().LaunchTime, now);
    EXPECT_EQ(frm->state().messages.MessageCursor, 0);
    EXPECT_FALSE(frm->lock().Unlocked);
    EXPECT_TRUE(frm->tmrPoll->Enabled());
  }
}

// A launch that cannot start the game says why, in red, opens no folder and waits for
// no login screen.
TEST_F(GameTest, ALaunchThatCannotStartSaysWhyAndOpensNoFolder) {
  struct Case {
    const char* path;           // stored as "Path"; nullptr: no value
    std::intptr_t shellResult;  // what the shell answers, if it is asked
    const char* line;
  };
  const std::string longGame = "C:\\Games\\" + std::string(250, 'm') + "\\mir.exe";
  machine.files().AddFile(longGame, "MZ");
  const std::vector<Case> cases = {
      {nullptr, 0, "Launch: Error - No game executable chosen!"},
      {longGame.c_str(), 2, "Launch: Error - Game path is too long for Windows to start it!"},
      {"C:\\Games\\Gone\\mir.exe", 0, "Launch: Error - Game executable not found!"},
      {"C:\\Games\\Mir", 0, "Launch: Error - Game path is a folder, not a program!"},
      {"C:\\Games\\Mir\\ftp.ini", 0, "Launch: Error - Game executable is not a program!"},
      {Game, 11, "Launch: Error - Game executable is not a program!"},
      {Game, 5, "Launch: Error - Game executable access denied!"},
      {Game, 2, "Launch: Error - Game executable not found!"},
      {Game, 8, "Launch: Error - Game could not be started (error 8)!"},
  };
  machine.files().AddFile("C:\\Games\\Mir\\ftp.ini", "site=");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    if (c.path)
      registry.SetValue(HKCU, settings::ProductKey, "Path", RegistryValue::Text(Seal(c.path)));
    else
      registry.DeleteValue(HKCU, settings::ProductKey, "Path");
    if (c.shellResult) machine.shell().FailNext(c.shellResult);
    frm->mmoEvents->SetFontColor(platform::colors::Black);
    const auto shellCalls = machine.shell().calls().size();
    frm->btnPlay->Click();
    const std::vector<std::string> lines = LogLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "Launching Mir");
    EXPECT_EQ(lines.back(), c.line);
    EXPECT_EQ(frm->mmoEvents->FontColor(), platform::colors::Red);
    EXPECT_EQ(machine.shell().calls().size(), shellCalls + (c.shellResult ? 1 : 0));
    EXPECT_FALSE(frm->tmrPoll->Enabled());
  }
  EXPECT_EQ(machine.games().count(), 0);
}

TEST_F(GameTest, WithThePasswordOnEveryPlayAsksAndAFailedPromptLaunchesNothing) {
  registry.SetValue(HKCU, settings::AccessKey, "Login", RegistryValue::Text(Seal("guard")));
  frm->lock().PasswordEnabled = 1;
  frm->state().messages.MessageCursor = 4;
  AnswerPrompt(nullptr);
  frm->btnPlay->Click();
  EXPECT_TRUE(machine.shell().calls().empty());
  EXPECT_EQ(frm->state().messages.MessageCursor, 0);

  for (int press = 0; press < 2; ++press) {
    AnswerPrompt("guard");
    frm->btnPlay->Click();
  }
  EXPECT_EQ(machine.shell().calls().size(), 2u);
  EXPECT_EQ(toolkit.UnusedScripts(), 0);
}

TEST_F(GameTest, TheLoginScreenIsFilledOnceHalfASecondAfterThePollSeesIt) {
  registry.SetValue(HKCU, settings::OldAccountKey, "13", RegistryValue::Text("old"));
  frm->mnuStealthMode->SetChecked(false);
  machine.games().SetLoginDelay(2050);
  frm->btnPlay->Click();
  const std::int64_t seen = machine.clock().nowMs() + 2100;  // the first poll tick after it
  toolkit.RunFor(2100 + 500);
  EXPECT_TRUE(frm->tmrMessages->Enabled());  // "Enable Messaging" is marked by default
  toolkit.RunFor(10000);
  auto& game = machine.games().latest();

  ASSERT_EQ(game.Logins().size(), 1u);
  EXPECT_EQ(game.Logins()[0].login, "kael");
  EXPECT_EQ(game.Logins()[0].password, "hunter2");
  EXPECT_THAT(SetTexts(), ::testing::SizeIs(2));
  EXPECT_EQ(SetTexts()[0].atMs, seen + 500);
  EXPECT_FALSE(frm->tmrPoll->Enabled());
  EXPECT_FALSE(frm->tmrRun->Enabled());
  EXPECT_FALSE(registry.KeyExists(HKCU, settings::OldAccountKey));
  EXPECT_EQ(AccountStore(services).Password(1).text, "hunter2");
}

TEST_F(GameTest, WithoutALoginScreenThePollGoesOnAndNothingIsFilled) {
  machine.games().SetLoginDelay(1 << 30);
  frm->btnPlay->Click();
  toolkit.RunFor(60000);
  EXPECT_TRUE(frm->tmrPoll->Enabled());
  EXPECT_TRUE(SetTexts().empty());
}

TEST_F(GameTest, StealthFloodsBothFieldsInPairsAtRaisedPriorityThenFills) {
  frm->mnuStealthMode->SetChecked(true);
  StoreAccount(1, "", "hunter2");  // an empty login is still set
  auto& game = Play();

  const auto logins = game.TextsSet("login");
  const auto passwords = game.TextsSet("password");
  ASSERT_EQ(logins.size(), FloodRounds + 1u);
  EXPECT_EQ(logins.back(), "");
  EXPECT_EQ(passwords.back(), "hunter2");
  EXPECT_EQ(std::vector<std::string>(logins.begin(), logins.end() - 1),
            std::vector<std::string>(passwords.begin(), passwords.end() - 1));
  for (const std::string& decoy : std::vector<std::string>(logins.begin(), logins.end() - 1))
    ASSERT_EQ(decoy.size(), 10u);  // ten bytes, none of them zero
  const auto sends = SetTexts();
  ASSERT_NE(sends[0].window, sends[1].window);
  for (std::size_t i = 0; i + 1 < sends.size(); i += 2) {
    ASSERT_EQ(sends[i].window, sends[0].window);  // the login field first in each pair
    ASSERT_EQ(sends[i + 1].window, sends[1].window);
  }
  const auto& p = machine.process().priorities();
  ASSERT_EQ(p.size(), 4u);
  EXPECT_EQ(p[0].processClass, PriorityClass::Realtime);
  EXPECT_EQ(p[1].thread, ThreadPriority::Highest);
  EXPECT_EQ(p[1].messagesBefore, machine.desktop().messages().size() - sends.size() - 2);
  EXPECT_EQ(p[3].messagesBefore, p[1].messagesBefore + 2 * FloodRounds);
  EXPECT_EQ(machine.process().processClass(), PriorityClass::Normal);
  EXPECT_EQ(machine.process().threadPriority(), ThreadPriority::Normal);
  ASSERT_EQ(game.Logins().size(), 1u);
}

// A field of another program that answers as the test wants.
platform::WindowHandle FieldAt(platform::MemoryDesktop& desktop, const char* className,
                               platform::WindowProc proc) {
  platform::WindowSpec spec;
  spec.className = className;
  spec.owner = desktop.NewProcess();
  spec.rect = {300, 250, 300, 80};  // covers both points
  spec.proc = std::move(proc);
  return desktop.AddWindow(spec);
}

// A field at the login point gets the secrets only when its program is the game at the
// stored path, however that path is written; any other gets nothing, and the log says
// whose window it is.
TEST_F(GameTest, OnlyTheGamesOwnProgramGetsTheLoginAndPassword) {
  struct Case {
    const char* image;  // the program the field's process runs
    bool filled;
    const char* line;
  };
  for (const Case& c :
       {Case{"c:\\GAMES\\mir\\..\\Mir\\MIR.EXE", true, "Launching Mir"},
        Case{"C:\\Tools\\keeper.exe", false,
             "Warning - A window of another program sits on Mir's login field: "
             "C:\\Tools\\keeper.exe"},
        Case{"", false,
             "Warning - A window of another program sits on Mir's login field: (a program "
             "Quenlar may not look into)"}}) {
    SCOPED_TRACE(c.image);
    auto& desktop = machine.desktop();
    desktop.ClearJournal();
    const auto field = FieldAt(desktop, "TEdit", {});
    desktop.SetProcessImage(desktop.OwnerOf(field), c.image);
    Play();
    std::size_t toField = 0;
    for (const auto& m : SetTexts()) toField += m.window == field;
    EXPECT_EQ(toField, c.filled ? 2u : 0u);
    EXPECT_EQ(desktop.MessagesOfKind(WindowMessageId::KeyDown).size(), c.filled ? 1u : 0u);
    const auto log = LogLines();
    EXPECT_EQ(log[log.size() - (c.filled ? 1 : 2)], c.line);
    if (!c.filled) EXPECT_EQ(log.back(), "The login and password were not sent");
    EXPECT_EQ(frm->mmoEvents->FontColor() == platform::colors::Red, !c.filled);  // stays red
    desktop.RemoveWindow(field);
    machine.games().latest().Exit();
  }
}

TEST_F(GameTest, TheFloodRestoresThePrioritiesWhateverTheFieldsDo) {
  struct Case {
    const char* what;
    const char* className;
    bool throws;
    bool hung;
    std::size_t sends;  // set-text messages journalled by the fill
    FillOutcome outcome;
  };
  for (const Case& c : {Case{"not a field", "Static", false, false, 2, FillOutcome::Submitted},
                        Case{"send throws", "TEdit", true, false, 5, FillOutcome::Submitted},
                        Case{"hung field", "TEdit", false, true, 1, FillOutcome::NoAnswer}}) {
    SCOPED_TRACE(c.what);
    auto& desktop = machine.desktop();
    desktop.ClearJournal();
    int sent = 0;
    const auto field = FieldAt(desktop, c.className, [&](const platform::WindowMessage&) {
      if (c.throws && ++sent == 5) throw std::runtime_error("gone");
    });
    desktop.SetHung(field, c.hung);
    const std::int64_t start = machine.clock().nowMs();
    const std::uint32_t game = desktop.WindowProcess(field);
    AccountStore store(services);
    if (c.throws)
      EXPECT_THROW(CredentialFill(services, store, 1, true, game), std::runtime_error);
    else
      EXPECT_EQ(CredentialFill(services, store, 1, true, game).outcome, c.outcome);
    EXPECT_EQ(SetTexts().size(), c.sends);
    // A field that does not answer ends everything at once: one time-out, no Enter.
    if (c.hung) {
      EXPECT_EQ(machine.clock().nowMs() - start, platform::SendTimeoutMs);
      EXPECT_TRUE(machine.desktop().MessagesOfKind(WindowMessageId::KeyDown).empty());
    }
    EXPECT_EQ(machine.process().processClass(), PriorityClass::Normal);
    EXPECT_EQ(machine.process().threadPriority(), ThreadPriority::Normal);
    desktop.RemoveWindow(field);
  }
}

// The fill stops at the first field that does not answer, whichever it is and however far
// the flood got: no further text, no Enter, no login, and normal priorities again.
TEST_F(GameTest, TheFillEndsAtTheFirstFieldThatDoesNotAnswer) {
  struct Case {
    const char* what;
    bool stealth;
    int after;  // texts taken before the field stops answering
    bool passwordHangs;
    std::size_t sends;
  };
  for (const Case& c :
       {Case{"login field, plain fill", false, 0, false, 1},
        Case{"password field, plain fill", false, 0, true, 2},
        Case{"login field, first decoy", true, 0, false, 1},
        Case{"password field, mid flood", true, 300, true, 302},
        Case{"login field, last decoy", true, 2 * FloodRounds, false, 2 * FloodRounds + 1}}) {
    SCOPED_TRACE(c.what);
    auto& desktop = machine.desktop();
    desktop.ClearJournal();
    frm->log().ClearBlack();
    frm->mnuStealthMode->SetChecked(c.stealth);
    frm->btnPlay->Click();
    auto& game = machine.games().latest();
    auto hang = [&] {
      desktop.SetHung(c.passwordHangs ? game.passwordField() : game.loginField(), true);
    };
    if (c.after == 0)  // as the login screen shows, before the fill
      machine.clock().ScheduleAt(
          machine.clock().nowMs() + platform::SimulatedGames::DefaultLoginDelayMs + 50, hang);
    else
      game.AfterTexts(c.after, hang);
    toolkit.RunFor(platform::SimulatedGames::DefaultLoginDelayMs + 700 + 3 * 2000);
    EXPECT_EQ(SetTexts().size(), c.sends);
    EXPECT_TRUE(desktop.MessagesOfKind(WindowMessageId::KeyDown).empty());
    EXPECT_TRUE(game.Logins().empty());
    EXPECT_EQ(LogLines().back(),
              "Mir stopped answering: the login was broken off and nothing was submitted");
    EXPECT_EQ(machine.process().processClass(), PriorityClass::Normal);
    EXPECT_EQ(machine.process().threadPriority(), ThreadPriority::Normal);
    game.Exit();
  }
}

TEST_F(GameTest, AGameWithHigherRightsRefusesAndTheLogSaysWhatToDo) {
  enum class Act { Fill, Flood, CannedLine, TimeLine };
  struct Case {
    Act act;
    const char* line;
  };
  const std::string advice =
      "Start Quenlar the same way as Mir (both as administrator, or neither), then try again";
  for (const Case& c :
       {Case{Act::Fill, "Mir refused the login"}, Case{Act::Flood, "Mir refused the login"},
        Case{Act::CannedLine, "Mir refused the chat line"},
        Case{Act::TimeLine, "Mir refused the time-online line"}}) {
    SCOPED_TRACE(c.line);
    frm->log().ClearBlack();
    machine.desktop().SetClipboard("player text");
    frm->state().messages.MessageSlots[0] = "hello";
    platform::SimulatedGameClient* game = nullptr;
    if (c.act == Act::Fill || c.act == Act::Flood) {
      frm->mnuStealthMode->SetChecked(c.act == Act::Flood);
      frm->btnPlay->Click();
      game = &machine.games().latest();
      game->RunAsAdministrator(true);
      toolkit.RunFor(platform::SimulatedGames::DefaultLoginDelayMs + 700);
    } else {
      game = &GameInPlay();
      game->RunAsAdministrator(true);
      if (c.act == Act::CannedLine) {
        frm->StartMessageBatch();
        toolkit.RunFor(3000 * 3);
      } else {
        frm->mnuTime->SetChecked(true);
        frm->tmrTimeTimer();
      }
    }
    const auto log = LogLines();
    EXPECT_THAT(std::vector<std::string>(log.end() - 2, log.end()),
                ElementsAre(std::string(c.line) +
                                ": it runs with higher rights than Quenlar (as administrator)",
                            advice));
    EXPECT_EQ(frm->mmoEvents->FontColor(), platform::colors::Red);
    EXPECT_TRUE(game->TextsSet("login").empty() && game->ChatLines().empty());
    EXPECT_FALSE(frm->tmrMessages->Enabled());
    EXPECT_EQ(machine.process().processClass(), PriorityClass::Normal);
    EXPECT_EQ(machine.desktop().clipboard(), "player text");
    game->Exit();
  }
}

TEST_F(GameTest, ASecretGoesOnlyToTheGameThatShowedItsLoginAndAHungGameGetsNoEnter) {
  struct Case {
    const char* what;
    bool stealth;
    int after;  // texts the client takes before it ends or hangs
    bool hangs;
    const char* line;
  };
  const char* gone = "Mir's login screen is gone: the login and password were not sent";
  for (const Case& c : {Case{"ends during the decoys", true, 200, false, gone},
                        Case{"ends after the login", false, 1, false, gone},
                        Case{"hangs during the decoys", true, 200, true,
                             "Mir stopped answering: the login was broken off and nothing "
                             "was submitted"}}) {
    SCOPED_TRACE(c.what);
    auto& desktop = machine.desktop();
    desktop.ClearJournal();
    frm->log().ClearBlack();
    form().MoveTo(250, 150);  // the main window lies under both points once the game is gone
    frm->mnuStealthMode->SetChecked(c.stealth);
    frm->btnPlay->Click();
    auto& game = machine.games().latest();
    game.AfterTexts(c.after, [&] {
      if (!c.hangs) return game.Exit();
      for (auto window : desktop.WindowsOf(game.process())) desktop.SetHung(window, true);
    });
    toolkit.RunFor(platform::SimulatedGames::DefaultLoginDelayMs + 700);
    if (!c.hangs) {
      ASSERT_EQ(desktop.OwnerOf(desktop.WindowFromPoint({400, 300})), platform::ProgramProcess);
    }
    for (auto window : desktop.WindowsOf(game.process())) desktop.SetHung(window, false);
    toolkit.RunFor(1000);  // the client wakes up

    for (const auto& sent : SetTexts()) ASSERT_EQ(sent.owner, game.process());
    EXPECT_EQ(game.TextsSet("login").size() + game.TextsSet("password").size(),
              static_cast<std::size_t>(c.after));
    EXPECT_TRUE(desktop.MessagesOfKind(WindowMessageId::KeyDown).empty());
    EXPECT_TRUE(game.Logins().empty());
    EXPECT_THAT(LogLines(), ElementsAre("Launching Mir", c.line));
    game.Exit();
  }
}

TEST_F(GameTest, TheTransferBufferTakesAtMost144CharactersAndIsBlankedAfterwards) {
  TransferBuffer buffer;
  buffer.Load(std::string(200, 'x'));
  EXPECT_EQ(std::string(buffer.data()), std::string(144, 'x'));
  buffer.Load("ab");
  EXPECT_EQ(std::string(buffer.data(), 4), std::string("ab\0\0", 4));
  buffer.Blank();
  EXPECT_EQ(std::string(buffer.data(), TransferBuffer::Size), std::string(145, ' '));
}

TEST_F(GameTest, TheDragSendsThePasswordOnlyToTheTargetOfThisDragAfterThePrompt) {
  registry.SetValue(HKCU, settings::AccessKey, "Login", RegistryValue::Text(Seal("guard")));
  auto& game = machine.games().Launch({});
  game.ShowLoginScreen();
  auto& button = form().Nth<MemorySpeedButton>();
  const platform::Point field = game_client::PasswordPoint;
  struct Case {
    const char* what;
    bool move;
    const char* answer;
    std::size_t sends;
  };
  for (const Case& c :
       {Case{"dropped on the field", true, "guard", 1},
        Case{"press and release, no move", false, "guard", 0},
        Case{"prompt closed", true, nullptr, 0}, Case{"wrong password", true, "Guard", 0}}) {
    SCOPED_TRACE(c.what);
    machine.desktop().ClearJournal();
    AnswerPrompt(c.answer);
    if (c.answer && std::string(c.answer) != "guard")
      toolkit.ScriptMessage(platform::MessageKind::Information, "Invalid Password!",
                            platform::MessageAnswer::Ok);
    ASSERT_TRUE(button.UserMouseDown(platform::MouseButton::Left, {3, 3}));
    EXPECT_TRUE(frm->state().Dragging);
    EXPECT_EQ(machine.cursor().Current(), platform::crCross);
    if (c.move) button.UserMoveToScreen(field);
    button.UserReleaseAtScreen(field);
    EXPECT_FALSE(frm->state().Dragging);
    EXPECT_EQ(machine.cursor().Current(), platform::crDefault);
    ASSERT_EQ(SetTexts().size(), c.sends);
    if (c.sends) {
      EXPECT_EQ(SetTexts()[0].text, "hunter2");
      EXPECT_EQ(SetTexts()[0].window, game.passwordField());
    }
    EXPECT_FALSE(frm->lock().Unlocked);
  }
}

TEST(TimeOnlineLine, ShowsTheTimeSinceLaunchAndTheWarning) {
  using platform::MemoryClock;
  const platform::DateTime launch = MemoryClock::Encode(2024, 5, 1, 20, 0);
  const double minute = 1.0 / 1440;
  struct Case {
    double since;  // minutes after launch
    const char* target;
    bool warning;
    platform::DateTime launchTime;
    const char* line;
  };
  for (const Case& c : {
           Case{35 + 20.0 / 60, "", false, launch, "00:35:20"},
           Case{110, "Kael", true, launch, "/Kael 01:50:00 - 00:10:00 before d/c"},
           Case{25 * 60 + 5, "", false, launch, "01:05:00"},
           Case{130, "", true, launch, "02:10:00 - 00:10:00 before d/c"},
           Case{75, " ", false, 0, "/  21:15:00"},  // before any launch: the clock's time
       }) {
    SCOPED_TRACE(c.line);
    MemoryClock clock(launch + c.since * minute);
    EXPECT_EQ(TimeOnlineLine(clock, c.launchTime, c.target, c.warning), c.line);
  }
}

TEST_F(GameTest, TheTimeMenuAndTheWarningMenuAreCoupled) {
  struct Step {
    bool time, warning, clickWarning, timeAfter, warningAfter;
  };
  for (const Step& s : {Step{true, true, false, false, false}, Step{false, false, true, true, true},
                        Step{true, true, true, true, false}, Step{true, false, false, false, false},
                        Step{false, false, false, true, false}}) {
    frm->mnuTime->SetChecked(s.time);
    frm->mnu2HourWarning->SetChecked(s.warning);
    ASSERT_TRUE(
        form().UserChooseMenu("&Options", s.clickWarning ? "2 Hour &Warning" : "&Time Online"));
    EXPECT_EQ(frm->mnuTime->Checked(), s.timeAfter);
    EXPECT_EQ(frm->mnu2HourWarning->Checked(), s.warningAfter);
  }
}

// The ten-minute line as the player switches it on in the menu, reaching the game's chat.
TEST_F(GameTest, TheTimeOnlineLineReachesTheChatAsTheOptionsMenuSetsIt) {
  struct Case {
    const char* chosen;  // nullptr: neither option
    std::vector<std::string> lines;
  };
  for (const Case& c :
       {Case{"&Time Online", {"/Kael 00:09:59"}},
        Case{"2 Hour &Warning", {"/Kael 00:09:59 - 01:50:00 before d/c"}}, Case{nullptr, {}}}) {
    SCOPED_TRACE(c.chosen ? c.chosen : "neither");
    frm->mnuTime->SetChecked(false);
    frm->mnu2HourWarning->SetChecked(false);
    if (c.chosen) {
      ASSERT_TRUE(form().UserChooseMenu("&Options", c.chosen));
    }
    toolkit.ScriptInput("Message Target", std::string("Kael"));
    ASSERT_TRUE(form().UserChooseMenu("&Options", "Message Target..."));
    // Played a quarter of a second after a tick, so the next one finds 9:59:750 online.
    toolkit.RunFor(600000 - machine.clock().nowMs() % 600000 + 250);
    machine.desktop().SetClipboard("player text");
    auto& game = Play();
    toolkit.RunFor(600000 - machine.clock().nowMs() % 600000 + 1000);
    EXPECT_EQ(game.ChatLines(), c.lines);
    EXPECT_EQ(machine.desktop().clipboard(), "player text");
    game.Exit();
  }
}

TEST_F(GameTest, ATickThatFallsDuringTheOtherPostRunsAfterItAndTheClipboardIsKept) {
  // Offsets of the message tick from the time tick: inside the time post, or just before
  // it so that the time tick falls inside the message post.
  for (int offset : {-100, +100}) {
    SCOPED_TRACE(offset);
    Destroy();
    const std::int64_t timeTick = machine.clock().nowMs() + 600000;
    Create();
    Scan();
    frm->mnuTime->SetChecked(true);
    frm->state().messages.MessageSlots[0] = "hello";
    auto& game = GameInPlay();
    toolkit.RunFor(timeTick + offset - 3000 - machine.clock().nowMs());
    frm->StartMessageBatch();
    toolkit.RunFor(3000 - offset + 2000);

    const auto lines = game.ChatLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[offset < 0 ? 0 : 1], "hello");
    EXPECT_EQ(machine.desktop().clipboard(), "player text");
  }
}

TEST_F(GameTest, ThePlayersWholeClipboardComesBackAfterTheChatLines) {
  using platform::ClipboardContents;
  // Sizes from the literals, so embedded zeros count and nothing is read past them.
  static const char kPicture[] = "BM\x28\0\0\0\x02\0\0\0\xff\x80\x00\x01";
  static const char kFiles[] = "\x14\0\0\0C:\\Mir\\shot.bmp\0\0";
  static const char kWide[] = "\x1f\x04\x40\x04\x38\x04\0\0";  // outside the code page
  const std::string picture(kPicture, sizeof kPicture - 1);
  const std::string files(kFiles, sizeof kFiles - 1);
  const std::string wide(kWide, sizeof kWide - 1);
  for (const ClipboardContents& player : {
           ClipboardContents{{8, "", picture}, {17, "", picture + "v5"}},
           ClipboardContents{{15, "", files}, {0xC0A1, "Preferred DropEffect", "\x05\0\0\0"}},
           ClipboardContents{{13, "", wide}, {1, "", "???"}},
           ClipboardContents{},
       }) {
    SCOPED_TRACE(player.size());
    frm->state().messages.MessageSlots[0] = "hello";
    frm->state().messages.MessageCursor = 0;
    frm->mnuTime->SetChecked(true);
    auto& game = GameInPlay();
    machine.desktop().SetClipboardContents(player);
    frm->StartMessageBatch();
    toolkit.RunFor(3000 * 2);
    frm->tmrTimeTimer();
    EXPECT_THAT(game.ChatLines(), ElementsAre("hello", ::testing::_));
    EXPECT_EQ(machine.desktop().clipboardContents(), player);
    game.Exit();
  }
}

TEST_F(GameTest, WhileAnotherProgramHoldsTheClipboardNothingIsPostedAndThePlayersTextSurvives) {
  frm->state().messages.MessageSlots[0] = "line 0";
  frm->state().messages.MessageSlots[1] = "line 1";
  auto& game = GameInPlay();
  auto& desktop = machine.desktop();
  desktop.ClearJournal();
  const std::int64_t start = machine.clock().nowMs();
  desktop.SetClipboardHeld(true);
  frm->StartMessageBatch();
  toolkit.RunFor(6500);  // two ticks, both while it is held
  EXPECT_TRUE(game.ChatLines().empty());
  EXPECT_TRUE(desktop.MessagesOfKind(WindowMessageId::KeyDown).empty());
  EXPECT_EQ(frm->state().messages.MessageCursor, 0);

  // Free again; then held from just after the game pasted the next line until after the
  // line should have gone back.
  desktop.SetClipboardHeld(false);
  machine.clock().ScheduleAt(start + 9460, [&] { desktop.SetClipboardHeld(true); });
  machine.clock().ScheduleAt(start + 10000, [&] { desktop.SetClipboardHeld(false); });
  toolkit.RunFor(start + 10500 - machine.clock().nowMs());
  EXPECT_EQ(desktop.clipboard(), "line 0");  // could not be given back yet
  toolkit.RunFor(3000);
  EXPECT_THAT(game.ChatLines(), ElementsAre("line 0", "line 1"));
  EXPECT_EQ(desktop.clipboard(), "player text");
}

// The time line opens the chat line itself: one the player has open is left alone.
TEST_F(GameTest, TheTimeLineIsNotPastedIntoAChatLineThePlayerHasOpen) {
  auto& game = GameInPlay();
  machine.desktop().PostKeyDown(game.gameWindow(), 13);
  toolkit.RunFor(500);
  const auto line = game.chatLine();
  ASSERT_NE(line, 0u);
  frm->mnuTime->SetChecked(true);
  frm->tmrTimeTimer();
  toolkit.RunFor(1000);
  EXPECT_EQ(game.chatLine(), line);
  EXPECT_EQ(game.FieldText(line), "");
  EXPECT_TRUE(game.ChatLines().empty());
  EXPECT_EQ(machine.desktop().clipboard(), "player text");
}

TEST_F(GameTest, AnUnmarkedTimeOnlineTickLeavesTheClipboardAlone) {
  frm->mnuTime->SetChecked(false);
  machine.desktop().SetClipboard("player text");
  toolkit.RunFor(600000);
  EXPECT_TRUE(machine.desktop().MessagesOfKind(WindowMessageId::Paste).empty());
  EXPECT_EQ(machine.desktop().clipboard(), "player text");
}

}  // namespace
}  // namespace main_window_test

namespace main_window_test {
namespace {

TEST(ChatPosts, APostAskedForDuringAnotherRunsOnceAfterIt) {
  ChatPosts posts;
  std::vector<std::string> ran;
  posts.Run(ChatPost::Messages, [&] {
    ran.push_back("messages begin");
    posts.Run(ChatPost::TimeOnline, [&] { ran.push_back("time"); });
    posts.Run(ChatPost::TimeOnline, [&] { ran.push_back("time"); });
    ran.push_back("messages end");
  });
  EXPECT_THAT(ran, ElementsAre("messages begin", "messages end", "time"));
  EXPECT_FALSE(posts.busy());
}

}  // namespace
}  // namespace main_window_test
