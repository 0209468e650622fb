#include "companions/canned_messages.h"

#include "companions/chat_posts.h"
#include "companions/clipboard_holder.h"
#include "forms/game_notices.h"
#include "game_client/contract.h"

using namespace platform;

namespace {}  // namespace

std::string MessageTargetLine(const std::string& target) {
  return "Message Target: " + (target.empty() ? std::string("<public message>") : target);
}

void AskMessageTarget(Services& services, std::string& target, EventLog& log) {
  // A name the game could not receive is refused and asked for again, as it was typed;
  // cancelled then, the target stays as it was.
  std::string typed = services.registry.FromCodePage(target);
  for (;;) {
    const std::string asked = typed;
    typed = services.toolkit.InputBox(
        "Message Target", "Please enter the name of the player you will be using", asked);
    std::string received;
    if (services.registry.ToCodePage(typed, received)) {
      target = received;
      break;
    }
    if (typed == asked && asked != services.registry.FromCodePage(target)) break;
    services.toolkit.ShowMessage(MessageKind::Information, CannotReceiveText("this player name"));
  }
  log.Append(MessageTargetLine(target));
}

void MessageSender::StartBatch(bool messagingEnabled) {
  if (messagingEnabled) tmrMessages.SetEnabled(true);
}

void MessageSender::Tick() {
  Desktop& desktop = services.desktop;
  Toolkit& toolkit = services.toolkit;
  const WindowHandle game = desktop.WindowFromPoint(game_client::GameWindowPoint);
  const int cursor = plan.MessageCursor;
  if (cursor < 0 || cursor >= MessageBatchSize || plan.MessageSlots[cursor].empty()) {
    tmrMessages.SetEnabled(false);
    return;
  }

  ClipboardHolder clipboard{toolkit, desktop, edtTemp, playerClipboard};
  if (!clipboard.PutLine(edtMessage, plan.MessageSlots[cursor])) return;

  const ChatLineResult posted = PostChatLine(services, game, {true, true});
  // Counted as posted once the paste went: a failure after it does not post it twice.
  if (posted.pasted) ++plan.MessageCursor;
  clipboard.GiveBack();
  if (posted.delivery == Delivery::Refused) {
    // Every later line would be refused too.
    tmrMessages.SetEnabled(false);
    ReportRefused(log, desktop.ProcessElevation(posted.window), "the chat line");
  }
}
