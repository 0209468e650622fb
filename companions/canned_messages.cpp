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
