#include "tests/support/simulated_game.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "game_client/contract.h"
#include "platform/ascii_fold.h"

namespace platform {

namespace {

constexpr int EscapeKey = 27;
constexpr int FieldHeight = 22;

}  // namespace

SimulatedGameClient::SimulatedGameClient(MemoryDesktop& desktop, MemoryClock& clock,
                                         GameLaunch launch)
    : desktop_(desktop), clock_(clock), launch_(std::move(launch)), process_(desktop.NewProcess()) {
  desktop_.SetProcessImage(process_, launch_.file);
  Note(GameEventKind::Launched, {}, launch_.file, launch_.parameters);
}

SimulatedGameClient::~SimulatedGameClient() {
  for (int id : scheduled_) clock_.Cancel(id);
  RemoveAll();
}

void SimulatedGameClient::Later(std::function<void()> work) {
  scheduled_.push_back(clock_.ScheduleAt(clock_.nowMs() + StepMs, std::move(work)));
}

void SimulatedGameClient::Note(GameEventKind kind, std::string field, std::string text,
                               std::string text2) {
  events_.push_back({clock_.nowMs(), kind, std::move(field), std::move(text), std::move(text2)});
}

WindowHandle SimulatedGameClient::AddField(WindowHandle parent, const std::string& name, int x,
                                           int y, int width) {
  WindowSpec spec;
  spec.className = game_client::FieldClass;
  spec.owner = process_;
  spec.parent = parent;
  // Centred on the contract's point; the parent's client area starts at the screen corner.
  spec.rect = {x - width / 2, y - FieldHeight / 2, width, FieldHeight};
  spec.proc = [this](const WindowMessage& m) { OnField(m.window, m); };
  const WindowHandle handle = desktop_.AddWindow(std::move(spec));
  fields_.push_back({handle, Field{name}});
  return handle;
}

std::string SimulatedGameClient::FieldText(WindowHandle field) const {
  for (const auto& [handle, f] : fields_) {
    if (handle == field) return f.edit.text();
  }
  return {};
}

void SimulatedGameClient::ShowLoginScreen() {
  if (screen_ != Screen::Starting) return;
  WindowSpec screen;
  screen.className = "TMirLoginScreen";
  screen.owner = process_;
  screen.rect = Area;
  screen.proc = [this](const WindowMessage& m) {
    if (m.id == WindowMessageId::SetText) Note(GameEventKind::TextSet, "login-screen", m.text);
  };
  loginScreen_ = desktop_.AddWindow(std::move(screen));
  loginField_ =
      AddField(loginScreen_, "login", game_client::LoginPoint.x, game_client::LoginPoint.y, 200);
  passwordField_ = AddField(loginScreen_, "password", game_client::PasswordPoint.x,
                            game_client::PasswordPoint.y, 200);
  screen_ = Screen::Login;
  Note(GameEventKind::LoginScreenShown);
}

void SimulatedGameClient::OnField(WindowHandle window, const WindowMessage& message) {
  auto it = std::find_if(fields_.begin(), fields_.end(),
                         [&](const auto& f) { return f.first == window; });
  if (it == fields_.end()) return;
  Field& field = it->second;
  const std::string name = field.name;
  switch (message.id) {
    case WindowMessageId::SetText:
      field.edit.Set(message.text);
      Note(GameEventKind::TextSet, name, message.text);
      if (name != "chat" && ++textsSet_ == afterTexts_ && then_) {
        const auto then = std::exchange(then_, nullptr);
        then();  // may end the client: nothing of it is used after this
      }
      break;
    case WindowMessageId::Paste:
      // Read from the clipboard when it lands, into the field if it is still there.
      Later([this, window] {
        for (auto& [handle, f] : fields_) {
          if (handle != window) continue;
          f.edit.Paste(desktop_.PasteText());
          Note(GameEventKind::Pasted, f.name, f.edit.text());
        }
      });
      break;
    case WindowMessageId::Copy:
      if (auto copied = field.edit.Copy()) desktop_.CopyText(*copied);
      break;
    case WindowMessageId::KeyDown:
      if (message.wparam == game_client::EnterKey) OnFieldEnter(name, true);
      if (message.wparam == EscapeKey && name == "chat") {
        Note(GameEventKind::ChatCancelled);
        CloseChat();
      }
      break;
    case WindowMessageId::KeyUp:
      if (message.wparam == game_client::EnterKey) OnFieldEnter(name, false);
      break;
  }
}

void SimulatedGameClient::OnFieldEnter(const std::string& name, bool down) {
  if (name == "password") {
    // The login screen reacts to the release of an Enter pressed in the field.
    if (down) {
      enterDownInPassword_ = true;
    } else if (enterDownInPassword_) {
      enterDownInPassword_ = false;
      Submit();
    }
  } else if (name == "chat" && down) {
    const std::string line = FieldText(chatLine_);
    Note(GameEventKind::ChatSent, "chat", line);
    CloseChat();
  }
}

void SimulatedGameClient::Submit() {
  Note(GameEventKind::LoginSubmitted, {}, FieldText(loginField_), FieldText(passwordField_));
  const WindowHandle screen = loginScreen_;
  std::erase_if(fields_,
                [&](const auto& f) { return f.first == loginField_ || f.first == passwordField_; });
  loginScreen_ = loginField_ = passwordField_ = 0;
  desktop_.RemoveWindow(screen);
  WindowSpec game;
  game.className = game_client::GameWindowClass;
  game.owner = process_;
  game.rect = Area;
  game.proc = [this](const WindowMessage& m) {
    if (m.id == WindowMessageId::SetText) Note(GameEventKind::TextSet, "game", m.text);
    if (m.id != WindowMessageId::KeyDown || m.wparam != game_client::EnterKey) return;
    if (chatLine_ != 0 || chatOpening_) return;  // Enter while open or opening changes nothing
    chatOpening_ = true;
    Later([this] { OpenChat(); });
  };
  gameWindow_ = desktop_.AddWindow(std::move(game));
  screen_ = Screen::Game;
  Note(GameEventKind::GameShown);
}

void SimulatedGameClient::OpenChat() {
  chatOpening_ = false;
  if (screen_ != Screen::Game || chatLine_ != 0) return;
  chatLine_ =
      AddField(gameWindow_, "chat", game_client::ChatPoint.x, game_client::ChatPoint.y, 760);
  Note(GameEventKind::ChatOpened);
}

void SimulatedGameClient::CloseChat() {
  const WindowHandle line = chatLine_;
  chatLine_ = 0;
  std::erase_if(fields_, [&](const auto& f) { return f.first == line; });
  desktop_.RemoveWindow(line);
}

void SimulatedGameClient::RemoveAll() {
  fields_.clear();
  desktop_.RemoveWindow(loginScreen_);
  desktop_.RemoveWindow(gameWindow_);
  loginScreen_ = loginField_ = passwordField_ = gameWindow_ = chatLine_ = 0;
}

void SimulatedGameClient::Exit() {
  if (screen_ == Screen::Exited) return;
  RemoveAll();
  screen_ = Screen::Exited;
  Note(GameEventKind::Exited);
}

std::vector<std::string> SimulatedGameClient::TextsSet(const std::string& field) const {
  std::vector<std::string> texts;
  for (const auto& e : events_) {
    if (e.kind == GameEventKind::TextSet && e.field == field) texts.push_back(e.text);
  }
  return texts;
}

std::vector<SimulatedGameClient::Login> SimulatedGameClient::Logins() const {
  std::vector<Login> logins;
  for (const auto& e : events_) {
    if (e.kind == GameEventKind::LoginSubmitted) logins.push_back({e.atMs, e.text, e.text2});
  }
  return logins;
}

std::vector<std::string> SimulatedGameClient::ChatLines() const {
  std::vector<std::string> lines;
  for (const auto& e : events_) {
    if (e.kind == GameEventKind::ChatSent) lines.push_back(e.text);
  }
  return lines;
}

SimulatedGames::~SimulatedGames() {
  for (int id : scheduled_) clock_.Cancel(id);
}

bool SimulatedGames::IsGame(const std::string& file) const {
  for (const auto& exe : executables_) {
    if (EqualsFolded(exe, file)) return true;
  }
  return false;
}

SimulatedGameClient& SimulatedGames::Launch(GameLaunch launch) {
  clients_.push_back(std::make_unique<SimulatedGameClient>(desktop_, clock_, std::move(launch)));
  SimulatedGameClient* client = clients_.back().get();
  scheduled_.push_back(
      clock_.ScheduleAt(clock_.nowMs() + loginDelayMs_, [client] { client->ShowLoginScreen(); }));
  return *client;
}

void SimulatedGames::Start(const ShellRecord& launch) { Launch(launch); }

SimulatedGameClient& SimulatedGames::latest() const {
  if (clients_.empty()) throw std::out_of_range("no game client was launched");
  return *clients_.back();
}

}  // namespace platform
