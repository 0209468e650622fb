// The stand-in game client, in memory: another process on the simulated desktop that
// honours the game-client contract. Launched by the shell for a registered executable,
// it shows its login screen after a delay of virtual time: "TEdit" fields at the login
// and password points. Enter pressed (down, then up) in the password field submits the
// login and brings up the main window, class "TDXDraw", over the whole game area; Enter
// posted to it opens the chat entry line, a "TEdit" at the chat point, which takes
// WM_PASTE and sends its line on the next Enter. Everything is written to a transcript.
//
// It is as slow as the contract lets a client be: the chat line appears, and a paste lands,
// only StepMs after the client handled the Enter or the paste (the senders wait 250 ms).
// A paste or key that reaches the wrong window, or comes too early, is lost as in a real
// client, so a sender that skips its pauses loses its lines here too.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/memory/memory_desktop.h"
#include "platform/memory/memory_edit_text.h"
#include "platform/memory/memory_process.h"

namespace platform {

// How a client was started: what the shell was asked.
using GameLaunch = ShellRecord;

enum class GameEventKind {
  Launched,
  LoginScreenShown,
  TextSet,         // field: "login", "password", "chat", "login-screen" or "game"
  Pasted,          // text: the field's text afterwards
  LoginSubmitted,  // text: the login, text2: the password
  GameShown,
  ChatOpened,
  ChatSent,  // text: the line
  ChatCancelled,
  Exited,
};

struct GameEvent {
  std::int64_t atMs = 0;
  GameEventKind kind = GameEventKind::Launched;
  std::string field;
  std::string text;
  std::string text2;
};

class SimulatedGameClient {
 public:
  enum class Screen { Starting, Login, Game, Exited };

  // The game area starts at the screen's corner, as a borderless full-screen window.
  static constexpr Bounds Area{0, 0, 800, 600};
  static constexpr int StepMs = 200;

  SimulatedGameClient(MemoryDesktop& desktop, MemoryClock& clock, GameLaunch launch);
  ~SimulatedGameClient();
  SimulatedGameClient(const SimulatedGameClient&) = delete;
  SimulatedGameClient& operator=(const SimulatedGameClient&) = delete;

  ProcessId process() const { return process_; }
  const GameLaunch& launch() const { return launch_; }
  Screen screen() const { return screen_; }
  const std::vector<GameEvent>& events() const { return events_; }

  // Transcript views.
  std::vector<std::string> TextsSet(const std::string& field) const;
  struct Login {
    std::int64_t atMs;
    std::string login;
    std::string password;
  };
  std::vector<Login> Logins() const;
  std::vector<std::string> ChatLines() const;

  WindowHandle loginField() const { return loginField_; }
  WindowHandle passwordField() const { return passwordField_; }
  WindowHandle gameWindow() const { return gameWindow_; }
  WindowHandle chatLine() const { return chatLine_; }  // 0 while closed
  std::string FieldText(WindowHandle field) const;

  // Started as administrator: the program's messages to it are refused.
  void RunAsAdministrator(bool on) { desktop_.SetHigherRights(process_, on); }
  // Runs `then` once, right after the `count`th text set into a login field (to make the
  // client hang or end in the middle of a fill).
  void AfterTexts(int count, std::function<void()> then) {
    afterTexts_ = count;
    then_ = std::move(then);
  }

  // The shell launch schedules this; tests may call it to skip the wait.
  void ShowLoginScreen();
  // The client ends: its windows go.
  void Exit();

 private:
  struct Field {
    std::string name;
    EditText edit{true};
  };

  void Note(GameEventKind kind, std::string field = {}, std::string text = {},
            std::string text2 = {});
  WindowHandle AddField(WindowHandle parent, const std::string& name, int x, int y, int width);
  void OnField(WindowHandle window, const WindowMessage& message);
  void OnFieldEnter(const std::string& name, bool down);
  void Submit();
  void OpenChat();
  void CloseChat();
  void Later(std::function<void()> work);
  void RemoveAll();

  MemoryDesktop& desktop_;
  MemoryClock& clock_;
  GameLaunch launch_;
  ProcessId process_;
  Screen screen_ = Screen::Starting;
  std::vector<GameEvent> events_;
  std::vector<std::pair<WindowHandle, Field>> fields_;
  WindowHandle loginScreen_ = 0;
  WindowHandle loginField_ = 0;
  WindowHandle passwordField_ = 0;
  WindowHandle gameWindow_ = 0;
  WindowHandle chatLine_ = 0;
  bool enterDownInPassword_ = false;
  int textsSet_ = 0;
  int afterTexts_ = 0;
  std::function<void()> then_;
  bool chatOpening_ = false;
  std::vector<int> scheduled_;
};

// Every game client of the simulation, and the executables that start one.
class SimulatedGames : public ShellProgram {
 public:
  static constexpr int DefaultLoginDelayMs = 2000;

  SimulatedGames(MemoryDesktop& desktop, MemoryClock& clock) : desktop_(desktop), clock_(clock) {}
  ~SimulatedGames();

  // Paths compare without regard to letter case.
  void Register(const std::string& executable) { executables_.push_back(executable); }
  bool IsGame(const std::string& file) const;
  bool Handles(const std::string& file) const override { return IsGame(file); }
  void Start(const ShellRecord& launch) override;
  void SetLoginDelay(int ms) { loginDelayMs_ = ms; }

  // A new client; its login screen shows after the login delay.
  SimulatedGameClient& Launch(GameLaunch launch);
  const std::vector<std::unique_ptr<SimulatedGameClient>>& clients() const { return clients_; }
  int count() const { return static_cast<int>(clients_.size()); }
  // The newest client; throws std::out_of_range when none was launched.
  SimulatedGameClient& latest() const;

 private:
  MemoryDesktop& desktop_;
  MemoryClock& clock_;
  std::vector<std::string> executables_;
  int loginDelayMs_ = DefaultLoginDelayMs;
  std::vector<std::unique_ptr<SimulatedGameClient>> clients_;
  std::vector<int> scheduled_;
};

}  // namespace platform
