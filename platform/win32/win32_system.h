// Small system services on Windows: the volume serial, the cursor and randomness.
#pragma once

#include <random>

#include "platform/system.h"

namespace platform::win32 {

// The serial is asked for once and then kept: every sealing needs it, a query costs a
// round trip to the system (some 0.6 ms under Wine), and it does not change while the
// program runs. A failed query is not kept, so the next call asks again.
class Win32Volume final : public Volume {
 public:
  std::optional<std::uint32_t> SystemSerial() override;

 private:
  std::optional<std::uint32_t> serial_;
};

// Shows the shape on the calling thread at once and remembers it. The window layer
// makes it stick application-wide by answering WM_SETCURSOR with Current(). A shape
// without a system cursor shows the arrow but is still remembered as set.
class Win32Cursor final : public Cursor {
 public:
  void Set(CursorShape shape) override;
  CursorShape Current() const override { return current_; }

 private:
  CursorShape current_ = crDefault;
};

// The system cursor handle (an HCURSOR) that shows a shape.
void* CursorHandleFor(CursorShape shape);

class Win32Random final : public Random {
 public:
  Win32Random();
  std::uint32_t Below(std::uint32_t bound) override;

 private:
  std::mt19937 engine_;
};

class Win32Trace final : public Trace {
 public:
  void Note(const std::string& line) override;
};

}  // namespace platform::win32
