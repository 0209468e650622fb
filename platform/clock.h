// Time: the local date and time, and sleeping.
#pragma once

namespace platform {

// Local date-time as days since 30 December 1899, the time of day as the fraction.
using DateTime = double;

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime Now() = 0;
  // Blocks the thread: none of the program's posted messages or timer ticks run
  // meanwhile. What another program sends to the program's windows is answered (so a
  // program pasting from a clipboard the sleeper owns is not held up).
  virtual void Sleep(int ms) = 0;
};

}  // namespace platform
