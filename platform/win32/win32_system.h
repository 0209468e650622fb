// Small system services on Windows: the volume serial, the cursor and randomness.
#pragma once

#include <random>

#include "platform/system.h"

namespace platform::win32 {

class Win32Volume final : public Volume {
 public:
  std::optional<std::uint32_t> SystemSerial() override;
};

// Shows the shape on the calling thread at once and remembers it. The window layer
// makes it stick application-wide by answering WM_SETCURSOR with Current(). A shape
// without a system cursor shows the arrow but is still remembered as set.
class Win32Cursor final : public Cursor {
 public:
  void Set(int shape) override;
  int Current() const override { return current_; }

 private:
  int current_ = crDefault;
};

// The system cursor handle (an HCURSOR) that shows a shape.
void* CursorHandleFor(int shape);

class Win32Random final : public Random {
 public:
  Win32Random();
  std::uint32_t Below(std::uint32_t bound) override;

 private:
  std::mt19937 engine_;
};

}  // namespace platform::win32
