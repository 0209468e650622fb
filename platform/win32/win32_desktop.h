// The desktop on Win32: windows of any process by screen point, and messages to them.
#pragma once

#include "platform/desktop.h"

namespace platform::win32 {

class Win32Desktop final : public Desktop {
 public:
  WindowHandle WindowFromPoint(Point screen) override;
  std::string ClassName(WindowHandle window, int capacity) override;
  bool SendSetText(WindowHandle window, std::uintptr_t wparam, const char* text) override;
  // Posting to window 0 would post to this thread's own queue: such calls do nothing.
  void PostKeyDown(WindowHandle window, int virtualKey) override;
  void PostKeyUp(WindowHandle window, int virtualKey) override;
  void PostCopy(WindowHandle window) override;
  void PostPaste(WindowHandle window) override;
};

}  // namespace platform::win32
