#include "companions/canned_messages.h"

#include "companions/clipboard_holder.h"
#include "core/game_client.h"
#include "ui/game_notices.h"

using namespace platform;

namespace {

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

  ClipboardHolder clipboard{toolkit, desktop, edtTemp, playerClipboard};
  if (!clipboard.PutLine(edtMessage, state.MessageSlots[cursor])) return;

  Delivery delivery = Delivery::Done;
  WindowHandle failed = game;
  if (WindowIs(desktop, game, game_client::GameWindowClass)) {
    delivery = desktop.PostKeyDown(game, game_client::EnterKey);
    if (delivery == Delivery::Done) {
      toolkit.ProcessMessages();
      services.clock.Sleep(game_client::ChatStepPauseMs);
    }
  }
  if (delivery == Delivery::Done &&
      WindowIs(desktop, WindowAt(desktop, game_client::ChatPoint), game_client::FieldClass)) {
    // Counted as posted from here on: a failure below does not post it twice.
    ++state.MessageCursor;
    const WindowHandle chat = failed = WindowAt(desktop, game_client::ChatPoint);
    delivery = desktop.PostPaste(chat);
    if (delivery == Delivery::Done) {
      services.clock.Sleep(game_client::ChatStepPauseMs);
      delivery = desktop.PostKeyDown(chat, game_client::EnterKey);
    }
  }
  clipboard.GiveBack();
  if (delivery == Delivery::Refused) {
    // Every later line would be refused too.
    tmrMessages.SetEnabled(false);
    ReportRefused(log, desktop.ProcessElevation(failed), "the chat line");
  }
}
