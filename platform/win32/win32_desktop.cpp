#include "platform/win32/win32_desktop.h"

#include <windows.h>

#include <vector>

namespace platform::win32 {

namespace {

HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }

void Post(WindowHandle window, UINT message, WPARAM wParam) {
  if (window) PostMessageA(ToHwnd(window), message, wParam, 0);
}

}  // namespace

WindowHandle Win32Desktop::WindowFromPoint(Point screen) {
  return reinterpret_cast<WindowHandle>(::WindowFromPoint(POINT{screen.x, screen.y}));
}

std::string Win32Desktop::ClassName(WindowHandle window, int capacity) {
  if (!window || capacity <= 0) return {};
  std::vector<char> name(static_cast<size_t>(capacity), '\0');
  int length = GetClassNameA(ToHwnd(window), name.data(), capacity);
  if (length <= 0) return {};
  return std::string(name.data(), static_cast<size_t>(length));
}

bool Win32Desktop::SendSetText(WindowHandle window, std::uintptr_t wparam, const char* text) {
  if (!window) return false;
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(ToHwnd(window), WM_SETTEXT, static_cast<WPARAM>(wparam),
                             reinterpret_cast<LPARAM>(text ? text : ""),
                             SMTO_ABORTIFHUNG | SMTO_BLOCK, SendTimeoutMs, &result) != 0;
}

void Win32Desktop::PostKeyDown(WindowHandle window, int virtualKey) {
  Post(window, WM_KEYDOWN, static_cast<WPARAM>(virtualKey));
}

void Win32Desktop::PostKeyUp(WindowHandle window, int virtualKey) {
  Post(window, WM_KEYUP, static_cast<WPARAM>(virtualKey));
}

void Win32Desktop::PostCopy(WindowHandle window) { Post(window, WM_COPY, 0); }

void Win32Desktop::PostPaste(WindowHandle window) { Post(window, WM_PASTE, 0); }

}  // namespace platform::win32
