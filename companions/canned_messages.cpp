#include "companions/canned_messages.h"

#include "companions/clipboard_holder.h"
#include "core/game_client.h"

using namespace platform;

namespace {

constexpr int EnterKey = 13;
constexpr int PostPauseMs = 250;

bool WindowIs(Desktop& desktop, WindowHandle window, const char* className) {
  return desktop.ClassName(window, game_client::ClassNameCapacity) == className;
}

WindowHandle WindowAt(Desktop& desktop, game_client::ScreenPoint point) {
  return desktop.WindowFromPoint({point.x, point.y});
}

}  // namespace

std::string MessageTargetLine(const std::string& target) {
  return "Message Target: " + (target.empty() ? std::string("<public message>") : target);
}

void AskMessageTarget(Toolkit& toolkit, std::string& target, EventLog& log) {
  target = toolkit.InputBox("Message Target",
                            "Please enter the name of the player you will be using", target);
  log.Append(MessageTargetLine(target));
}

void MessageSender::StartBatch(bool messagingEnabled) {
  if (messagingEnabled) tmrMessages.SetEnabled(true);
}

void MessageSender::Tick() {
  Desktop& desktop = services.desktop;
  Toolkit& toolkit = services.toolkit;
  const WindowHandle game = WindowAt(desktop, game_client::GameWindowPoint);
  const int cursor = state.MessageCursor;
  if (cursor < 0 || cursor >= MessageBatchSize || state.MessageSlots[cursor].empty()) {
    tmrMessages.SetEnabled(false);
    return;
  }

  ClipboardHolder clipboard{toolkit, desktop, edtTemp};
  clipboard.SavePlayerText();
  edtMessage.SetText(state.MessageSlots[cursor]);
  clipboard.Copy(edtMessage);

  if (WindowIs(desktop, game, game_client::GameWindowClass)) {
    desktop.PostKeyDown(game, EnterKey);
    toolkit.ProcessMessages();
    services.clock.Sleep(PostPauseMs);
  }
  if (WindowIs(desktop, WindowAt(desktop, game_client::ChatPoint), game_client::FieldClass)) {
    // Counted as posted from here on: a failure below does not post it twice.
    ++state.MessageCursor;
    const WindowHandle chat = WindowAt(desktop, game_client::ChatPoint);
    desktop.PostPaste(chat);
    services.clock.Sleep(PostPauseMs);
    desktop.PostKeyDown(chat, EnterKey);
  }
  clipboard.RestorePlayerText();
}
