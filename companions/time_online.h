// The time-online chat line: how long the game has run since the program launched it
// and, with the warning, how long is left before two hours.
#pragma once

#include <string>

#include "companions/clipboard_holder.h"
#include "forms/event_log.h"
#include "platform/clock.h"
#include "platform/services.h"
#include "platform/toolkit.h"

// "hh:mm:ss" of a duration in days: rounded to whole milliseconds, whole days dropped,
// a negative duration shown by its magnitude.
std::string TimeText(platform::DateTime days);

// The line posted at `now` for a game launched at `launchTime`.
std::string TimeOnlineLine(platform::Clock& clock, platform::DateTime launchTime,
                           const std::string& target, bool warning);

// What one time-online post works with: the main window's hidden fields.
struct TimeOnlinePoster {
  platform::Services& services;
  platform::Edit& edtTime;
  platform::Edit& edtTemp;
  PlayerClipboard& playerClipboard;
  EventLog& log;

  // Puts `line` on the clipboard and, when the game's main window is at the chat point,
  // says it there; the player's clipboard is given back either way. Nothing is posted
  // while another program holds the clipboard; a game that refuses the line is logged.
  void Post(const std::string& line);
};
