#include "standin/test/desktop.h"

namespace poke {

std::string ClassOf(HWND window) {
  char name[game_client::ClassNameCapacity] = "";
  if (!window || !GetClassNameA(window, name, sizeof name)) return "";
  return name;
}

DWORD ProcessOf(HWND window) {
  DWORD process = 0;
  if (window) GetWindowThreadProcessId(window, &process);
  return process;
}

HWND WindowAt(game_client::ScreenPoint point) { return WindowFromPoint(POINT{point.x, point.y}); }

HWND WaitForClassAt(game_client::ScreenPoint point, const char* className, DWORD processId,
                    DWORD timeoutMs) {
  ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    HWND window = WindowAt(point);
    if (ClassOf(window) == className && ProcessOf(window) == processId) return window;
    if (GetTickCount64() >= deadline) return nullptr;
    PumpFor(50);
  }
}

void PumpFor(DWORD ms) {
  ULONGLONG deadline = GetTickCount64() + ms;
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    ULONGLONG now = GetTickCount64();
    if (now >= deadline) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
  }
}

ClipboardEdit::ClipboardEdit()
    : edit_(CreateWindowExA(0, "EDIT", "", WS_POPUP | ES_AUTOHSCROLL, 0, 0, 10, 10, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr)) {}

ClipboardEdit::~ClipboardEdit() {
  if (edit_) DestroyWindow(edit_);
}

void ClipboardEdit::Put(const std::string& text) {
  SendMessageA(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageA(edit_, EM_SETSEL, 0, -1);
  SendMessageA(edit_, WM_COPY, 0, 0);
  PumpFor(50);
}

std::string ReadFileFrom(const std::string& path, unsigned long long offset) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "";
  std::string text;
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  if (SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) {
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) text.append(chunk, got);
  }
  CloseHandle(file);
  return text;
}

unsigned long long FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace poke
