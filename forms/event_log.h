// The event log on the main window: lines are only appended; one font colour for the
// whole box, black after the scan driver clears it, red from the first warning on.
#pragma once

#include <string>
#include <vector>

#include "platform/toolkit.h"

class EventLog {
 public:
  explicit EventLog(platform::Memo& memo) : memo_(memo) {}

  // While a batch lives, appended lines are held back and reach the box in one
  // insertion when it ends (a check can log thousands; one insertion each would freeze
  // the window for minutes). Nothing repaints in between, so the player sees no
  // difference; whatever lets the window repaint first (a message box, a dialog)
  // must Flush. Batches nest; the outermost one shows the lines.
  class Batch {
   public:
    explicit Batch(EventLog& log) : log_(log), outer_(log.holding_) { log.holding_ = true; }
    ~Batch() {
      log_.holding_ = outer_;
      if (!outer_) log_.Flush();
    }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

   private:
    EventLog& log_;
    bool outer_;
  };

  void Append(const std::string& line) {
    if (holding_)
      held_.push_back(line);
    else
      memo_.AppendLine(line);
  }
  // Shows the lines held so far.
  void Flush() {
    if (held_.empty()) return;
    std::vector<std::string> lines;
    lines.swap(held_);
    memo_.AppendLines(lines);
  }
  // Every warning turns the log red; only the first one needs to repaint it.
  void TurnRed() {
    if (memo_.FontColor() != platform::colors::Red) memo_.SetFontColor(platform::colors::Red);
  }
  // Only the scan driver clears the log.
  void ClearBlack() {
    held_.clear();
    memo_.Clear();
    memo_.SetFontColor(platform::colors::Black);
  }

 private:
  platform::Memo& memo_;
  bool holding_ = false;
  std::vector<std::string> held_;
};
