// Local time and sleeping on Win32.
#pragma once

#include "platform/clock.h"

namespace platform::win32 {

// A calendar date and time of day as days since 30 December 1899.
DateTime ToDateTime(int year, int month, int day, int hour, int minute, int second,
                    int millisecond);

class Win32Clock final : public Clock {
 public:
  DateTime Now() override;
  void Sleep(int ms) override;
};

}  // namespace platform::win32
