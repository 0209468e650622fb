// Time: the local date and time, and sleeping.
#pragma once

namespace platform {

// Local date-time as days since 30 December 1899, the time of day as the fraction.
using DateTime = double;

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime Now() = 0;
  // Blocks the thread; no messages are handled meanwhile.
  virtual void Sleep(int ms) = 0;
};

}  // namespace platform
