// The time-online chat line: how long the game has run since the program launched it
// and, with the warning, how long is left before two hours.
#pragma once

#include <string>

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

  // Puts `line` on the clipboard and, when the game's main window is at the chat point,
  // says it there; the player's clipboard text is given back either way.
  void Post(const std::string& line);
};
