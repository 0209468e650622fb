// The canned message sender: after a launch, the prepared lines go into the game's chat
// one a tick, through the clipboard, until an empty slot or the batch's last line.
#pragma once

#include <array>
#include <string>

#include "companions/clipboard_holder.h"
#include "companions/ufrmMessaging.h"
#include "forms/event_log.h"
#include "platform/services.h"
#include "platform/toolkit.h"

// Lines posted per batch: slots 0 to 24; the last slot is kept but never posted.
inline constexpr int MessageBatchSize = 25;

// "Message Target: <target>", or the public form for an empty target.
std::string MessageTargetLine(const std::string& target);

// The Message Target prompt: the target takes what the box returns, unchanged (Cancel
// keeps it), and the log gets the target line either way.
void AskMessageTarget(platform::Services& services, std::string& target, EventLog& log);

// The prepared chat lines and where they go: stored with the main window's settings,
// edited by the message editor, posted by the batch.
struct MessagePlan {
  std::string MessageTarget;  // empty: public chat
  MessageSlotArray MessageSlots;
  int MessageCursor = 0;  // the slot the batch posts next
};

// What one batch works with: the plan the main window keeps, its hidden fields and timer.
struct MessageSender {
  platform::Services& services;
  MessagePlan& plan;
  platform::Edit& edtMessage;
  platform::Edit& edtTemp;
  platform::Timer& tmrMessages;
  PlayerClipboard& playerClipboard;
  EventLog& log;

  // Starts the batch timer when messaging is enabled; the first line comes a tick later.
  void StartBatch(bool messagingEnabled);
  // One tick: posts the slot at MessageCursor, or stops the timer at the batch's end.
  // While another program holds the clipboard the slot waits for the next tick; a game
  // that refuses the line ends the batch, and the log says why.
  void Tick();
};
