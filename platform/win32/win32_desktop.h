// The desktop on Win32: windows of any process by screen point, messages to them, and the
// clipboard as a whole.
#pragma once

#include "platform/desktop.h"

namespace platform::win32 {

class Win32Desktop final : public Desktop {
 public:
  Win32Desktop() = default;
  ~Win32Desktop() override;
  Win32Desktop(const Win32Desktop&) = delete;
  Win32Desktop& operator=(const Win32Desktop&) = delete;

  WindowHandle WindowFromPoint(Point screen) override;
  std::string ClassName(WindowHandle window, int capacity) override;
  std::uint32_t WindowProcess(WindowHandle window) override;
  Elevation ProcessElevation(WindowHandle window) override;
  std::string ProcessImage(WindowHandle window) override;
  Delivery SendSetText(WindowHandle window, std::uintptr_t wparam, const char* text) override;
  // Posting to window 0 would post to this thread's own queue: such calls do nothing.
  Delivery PostKeyDown(WindowHandle window, int virtualKey) override;
  Delivery PostKeyUp(WindowHandle window, int virtualKey) override;
  Delivery PostCopy(WindowHandle window) override;
  Delivery PostPaste(WindowHandle window) override;
  // GDI formats are taken as their device-independent forms (the enhanced metafile by its
  // bits, a bitmap or palette through the DIB Windows makes of it); the others by bytes.
  std::optional<ClipboardContents> SaveClipboard() override;
  bool RestoreClipboard(const ClipboardContents& contents) override;
  std::uint32_t ClipboardSequence() override;

 private:
  // The clipboard wants an owner window to set data after emptying it.
  std::uintptr_t Owner();
  std::uintptr_t owner_ = 0;
};

}  // namespace platform::win32
