// Finding, reading and clicking windows of another process.
#include <algorithm>
#include <cctype>

#include "e2e/driver.h"

namespace e2e {

namespace {

// A window whose thread hangs must fail the test, not stall it.
constexpr UINT MessageTimeoutMs = 5000;

constexpr DWORD PollMs = 50;

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::string ClassOf(HWND window) {
  char name[256] = "";
  if (!window || !GetClassNameA(window, name, sizeof name)) return "";
  return name;
}

std::string TextOf(HWND window) {
  if (!window) return "";
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, MessageTimeoutMs,
                           &length))
    throw DriverError("the window does not answer WM_GETTEXTLENGTH");
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, MessageTimeoutMs, &copied))
    throw DriverError("the window does not answer WM_GETTEXT");
  text.resize(std::min<size_t>(copied, length));
  return text;
}

std::string WideTextOf(HWND window) {
  if (!window) return "";
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, MessageTimeoutMs,
                           &length))
    throw DriverError("the window does not answer WM_GETTEXTLENGTH");
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, MessageTimeoutMs, &copied))
    throw DriverError("the window does not answer WM_GETTEXT");
  text.resize(std::min<size_t>(copied, length));
  return Utf8(text);
}

DWORD ProcessOf(HWND window) {
  DWORD process = 0;
  if (window) GetWindowThreadProcessId(window, &process);
  return process;
}

bool IsEnabled(HWND window) { return window && IsWindowEnabled(window); }

std::vector<HWND> TopLevelWindows(DWORD processId, bool visibleOnly) {
  struct Search {
    DWORD processId;
    bool visibleOnly;
    std::vector<HWND> found;
  } search{processId, visibleOnly, {}};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        if (ProcessOf(window) == s.processId && (!s.visibleOnly || IsWindowVisible(window)))
          s.found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindTopLevel(DWORD processId, const WindowMatch& match) {
  for (HWND window : TopLevelWindows(processId))
    if (match(window)) return window;
  return nullptr;
}

HWND WaitForTopLevel(DWORD processId, const WindowMatch& match, const std::string& what,
                     DWORD timeoutMs) {
  ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (HWND window = FindTopLevel(processId, match)) return window;
    if (GetTickCount64() >= deadline)
      throw DriverError("timed out after " + std::to_string(timeoutMs) + " ms waiting for " + what);
    Pump(PollMs);
  }
}

void WaitUntilGone(HWND window, const std::string& what, DWORD timeoutMs) {
  ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (IsWindow(window) && IsWindowVisible(window)) {
    if (GetTickCount64() >= deadline)
      throw DriverError("timed out after " + std::to_string(timeoutMs) + " ms waiting for " + what +
                        " to close");
    Pump(PollMs);
  }
}

HWND FindDescendant(HWND parent, const WindowMatch& match) {
  struct Search {
    const WindowMatch* match;
    HWND found;
  } search{&match, nullptr};
  EnumChildWindows(
      parent,
      [](HWND window, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        if ((*s.match)(window)) {
          s.found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindChild(HWND parent, const std::string& className, const std::string& text) {
  return FindDescendant(parent, [&](HWND window) {
    return SameIgnoringCase(ClassOf(window), className) && (text.empty() || TextOf(window) == text);
  });
}

void Click(HWND button) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, MessageTimeoutMs, &result))
    throw DriverError("the button '" + TextOf(button) + "' did not take the click in time");
}

void PostClick(HWND button) {
  if (!PostMessageA(button, BM_CLICK, 0, 0)) throw DriverError("cannot post a click to the button");
}

HWND FindMultiLineEdit(HWND window) {
  return FindDescendant(window, [](HWND child) {
    return SameIgnoringCase(ClassOf(child), "Edit") &&
           (GetWindowLongPtrA(child, GWL_STYLE) & ES_MULTILINE);
  });
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

}  // namespace e2e
