// The desktop: windows of any process found by screen point, and the messages the
// program sends and posts to them. Handles come from here or from the program's own
// controls (Control::Handle).
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace platform {

// A healthy window answers a set-text in well under a millisecond; a hung one must not
// hold the program (which may run at real-time priority) for longer than this.
inline constexpr int SendTimeoutMs = 2000;

class Desktop {
 public:
  virtual ~Desktop() = default;
  // The deepest visible window at the screen point, or 0.
  virtual WindowHandle WindowFromPoint(Point screen) = 0;
  // The window's class name, cut to `capacity` - 1 characters; "" for no window.
  virtual std::string ClassName(WindowHandle window, int capacity) = 0;
  // WM_SETTEXT with the given first parameter and a zero-terminated text; returns
  // after the receiving window has handled it, or gives up on a window that is hung or
  // still busy after SendTimeoutMs. True when the window handled it; false for window 0.
  virtual bool SendSetText(WindowHandle window, std::uintptr_t wparam, const char* text) = 0;
  // Posted messages: they wait in the receiver's queue.
  virtual void PostKeyDown(WindowHandle window, int virtualKey) = 0;  // WM_KEYDOWN, lParam 0
  virtual void PostKeyUp(WindowHandle window, int virtualKey) = 0;    // WM_KEYUP, lParam 0
  virtual void PostCopy(WindowHandle window) = 0;                     // WM_COPY
  virtual void PostPaste(WindowHandle window) = 0;                    // WM_PASTE
};

}  // namespace platform
