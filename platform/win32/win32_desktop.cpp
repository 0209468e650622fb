#include "platform/win32/win32_desktop.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/win32_wide.h"

namespace platform::win32 {

namespace {

HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }

// Under the integrity levels of Windows, a message to a process with higher rights fails
// with "access denied" (Wine lets it through).
Delivery Failed() {
  const DWORD error = GetLastError();
  if (error == ERROR_ACCESS_DENIED) return Delivery::Refused;
  if (error == ERROR_INVALID_WINDOW_HANDLE) return Delivery::NoWindow;
  return Delivery::NoAnswer;
}

Delivery Post(WindowHandle window, UINT message, WPARAM wParam) {
  if (!window) return Delivery::NoWindow;
  SetLastError(0);
  if (PostMessageA(ToHwnd(window), message, wParam, 0)) return Delivery::Done;
  return Failed();  // a full queue counts as a client that does not answer
}

// Formats whose data is not a block of memory, or that Windows makes up from another one
// on the list: taken through that one.
bool TakenThroughAnother(UINT format) {
  switch (format) {
    case CF_BITMAP:
    case CF_PALETTE:
    case CF_METAFILEPICT:
    case CF_OWNERDISPLAY:
    case CF_DSPBITMAP:
    case CF_DSPMETAFILEPICT:
    case CF_DSPENHMETAFILE: return true;
    default: break;
  }
  return (format >= CF_PRIVATEFIRST && format <= CF_PRIVATELAST) ||
         (format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST);
}

constexpr UINT FirstRegisteredFormat = 0xC000;

}  // namespace

Win32Desktop::~Win32Desktop() {
  if (owner_) DestroyWindow(ToHwnd(owner_));
}

std::uintptr_t Win32Desktop::Owner() {
  if (!owner_)
    owner_ = reinterpret_cast<std::uintptr_t>(CreateWindowExA(
        0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), nullptr));
  return owner_;
}

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

std::uint32_t Win32Desktop::WindowProcess(WindowHandle window) {
  if (!window || !IsWindow(ToHwnd(window))) return 0;
  DWORD process = 0;
  GetWindowThreadProcessId(ToHwnd(window), &process);
  return process;
}

Elevation Win32Desktop::ProcessElevation(WindowHandle window) {
  const DWORD id = WindowProcess(window);
  if (!id) return Elevation::Unknown;
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  if (!process)
    return GetLastError() == ERROR_ACCESS_DENIED ? Elevation::Hidden : Elevation::Unknown;
  Elevation result = Elevation::Unknown;
  HANDLE token = nullptr;
  if (OpenProcessToken(process, TOKEN_QUERY, &token)) {
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size))
      result = elevation.TokenIsElevated ? Elevation::Elevated : Elevation::Normal;
    CloseHandle(token);
  } else if (GetLastError() == ERROR_ACCESS_DENIED) {
    result = Elevation::Hidden;
  }
  CloseHandle(process);
  return result;
}

std::string Win32Desktop::ProcessImage(WindowHandle window) {
  const DWORD id = WindowProcess(window);
  if (!id) return {};
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  if (!process) return {};
  std::wstring path(32768, L'\0');
  DWORD size = static_cast<DWORD>(path.size());
  const bool named = QueryFullProcessImageNameW(process, 0, path.data(), &size) != FALSE;
  CloseHandle(process);
  if (!named) return {};
  path.resize(size);
  return Utf8FromWide(path);
}

Delivery Win32Desktop::SendSetText(WindowHandle window, std::uintptr_t wparam, const char* text) {
  if (!window) return Delivery::NoWindow;
  DWORD_PTR result = 0;
  SetLastError(0);
  if (SendMessageTimeoutA(ToHwnd(window), WM_SETTEXT, static_cast<WPARAM>(wparam),
                          reinterpret_cast<LPARAM>(text ? text : ""), SMTO_ABORTIFHUNG | SMTO_BLOCK,
                          SendTimeoutMs, &result) != 0)
    return Delivery::Done;
  return Failed();
}

Delivery Win32Desktop::PostKeyDown(WindowHandle window, int virtualKey) {
  return Post(window, WM_KEYDOWN, static_cast<WPARAM>(virtualKey));
}

Delivery Win32Desktop::PostKeyUp(WindowHandle window, int virtualKey) {
  return Post(window, WM_KEYUP, static_cast<WPARAM>(virtualKey));
}

Delivery Win32Desktop::PostCopy(WindowHandle window) { return Post(window, WM_COPY, 0); }

Delivery Win32Desktop::PostPaste(WindowHandle window) { return Post(window, WM_PASTE, 0); }

std::optional<ClipboardContents> Win32Desktop::SaveClipboard() {
  if (!OpenClipboard(ToHwnd(Owner()))) return std::nullopt;
  ClipboardContents contents;
  for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
    if (TakenThroughAnother(format)) continue;
    HANDLE data = GetClipboardData(format);
    if (!data) continue;
    ClipboardFormat saved;
    saved.id = format;
    if (format >= FirstRegisteredFormat) {
      char name[256] = {};
      if (GetClipboardFormatNameA(format, name, sizeof name) > 0) saved.name = name;
    }
    if (format == CF_ENHMETAFILE) {
      auto metafile = static_cast<HENHMETAFILE>(data);
      saved.bytes.resize(GetEnhMetaFileBits(metafile, 0, nullptr));
      GetEnhMetaFileBits(metafile, static_cast<UINT>(saved.bytes.size()),
                         reinterpret_cast<BYTE*>(saved.bytes.data()));
    } else {
      const SIZE_T size = GlobalSize(data);
      const void* bytes = GlobalLock(data);
      if (!bytes) continue;
      saved.bytes.assign(static_cast<const char*>(bytes), size);
      GlobalUnlock(data);
    }
    contents.push_back(std::move(saved));
  }
  CloseClipboard();
  return contents;
}

bool Win32Desktop::RestoreClipboard(const ClipboardContents& contents) {
  if (!OpenClipboard(ToHwnd(Owner()))) return false;
  EmptyClipboard();
  for (const ClipboardFormat& format : contents) {
    UINT id = format.id;
    if (!format.name.empty()) id = RegisterClipboardFormatA(format.name.c_str());
    if (!id) continue;
    if (id == CF_ENHMETAFILE) {
      HENHMETAFILE metafile =
          SetEnhMetaFileBits(static_cast<UINT>(format.bytes.size()),
                             reinterpret_cast<const BYTE*>(format.bytes.data()));
      if (metafile && !SetClipboardData(id, metafile)) DeleteEnhMetaFile(metafile);
      continue;
    }
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, format.bytes.size());
    if (!memory) continue;
    if (void* bytes = GlobalLock(memory)) {
      if (!format.bytes.empty()) std::memcpy(bytes, format.bytes.data(), format.bytes.size());
      GlobalUnlock(memory);
    }
    // The clipboard owns what it took; what it refused is still ours.
    if (!SetClipboardData(id, memory)) GlobalFree(memory);
  }
  CloseClipboard();
  return true;
}

std::uint32_t Win32Desktop::ClipboardSequence() { return GetClipboardSequenceNumber(); }

}  // namespace platform::win32
