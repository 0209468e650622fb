// The event log on the main window: lines are only appended; one font colour for the
// whole box, black after the scan driver clears it, red from the first warning on.
#pragma once

#include <string>

#include "platform/toolkit.h"

class EventLog {
 public:
  explicit EventLog(platform::Memo& memo) : memo_(memo) {}

  void Append(const std::string& line) { memo_.AppendLine(line); }
  void TurnRed() { memo_.SetFontColor(platform::colors::Red); }
  // Only the scan driver clears the log.
  void ClearBlack() {
    memo_.Clear();
    memo_.SetFontColor(platform::colors::Black);
  }

 private:
  platform::Memo& memo_;
};
