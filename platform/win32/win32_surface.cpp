#include "platform/win32/win32_surface.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "platform/win32/win32_wide.h"

namespace platform::win32 {

namespace {

constexpr UINT_PTR SubclassId = 1;

LRESULT CALLBACK NativeSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR data) {
  auto* control = reinterpret_cast<ControlCore*>(data);
  if (message == WM_SETCURSOR && control->host().ui().ApplyCursor(lParam)) return TRUE;
  LRESULT result = 0;
  bool handled = false;
  RunGuarded([&] {
    handled = control->OnMessage(message, wParam, lParam, result);
    return LRESULT{0};
  });
  if (handled) return result;
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, NativeSubclassProc, SubclassId);
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

ControlCore::ControlCore(Surface& host) : host_(host) {}

ControlCore::~ControlCore() {
  if (!window_) return;
  host_.ui().Unregister(window_);
  if (!IsWindow(window_)) return;
  if (subclassed_)
    RemoveWindowSubclass(window_, NativeSubclassProc, SubclassId);
  else
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
}

void ControlCore::AttachNative(HWND window) {
  window_ = window;
  if (!window) return;
  host_.ui().Register(window, this);
  subclassed_ = SetWindowSubclass(window, NativeSubclassProc, SubclassId,
                                  reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

HWND ControlCore::CreateCustom(Bounds bounds, DWORD style, DWORD exStyle) {
  HWND window =
      host_.CreateChild(CustomControlClass, "", style, exStyle, bounds, -1, nullptr, this);
  if (window) host_.ui().Register(window, this);
  return window;
}

LRESULT CALLBACK CustomControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = reinterpret_cast<CREATESTRUCTA*>(lParam);
    auto* control = static_cast<ControlCore*>(created->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
    if (control) control->window_ = window;
  }
  auto* control = reinterpret_cast<ControlCore*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (control) {
    if (message == WM_SETCURSOR && control->host().ui().ApplyCursor(lParam)) return TRUE;
    LRESULT result = 0;
    bool handled = false;
    RunGuarded([&] {
      handled = control->OnMessage(message, wParam, lParam, result);
      return LRESULT{0};
    });
    if (handled) return result;
    if (message == WM_NCDESTROY) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK SurfaceWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created->lpCreateParams));
  }
  auto* owner = reinterpret_cast<SurfaceWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  if (!owner) return DefWindowProcA(window, message, wParam, lParam);
  return RunGuarded([&] { return owner->HandleMessage(window, message, wParam, lParam); });
}

Surface::Surface(UiState& ui, Surface* root, const FontSpec& font, COLORREF background)
    : ui_(ui), root_(root), font_(font), background_(background) {}

Surface::~Surface() { ReleaseControls(); }

void Surface::ReleaseControls() {
  // Newest first, the reverse of creation.
  while (!controls_.empty()) controls_.pop_back();
  tabStops_.clear();
}

namespace {

std::wstring WideFromCodePage(const char* text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (length <= 1) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
  wide.resize(static_cast<std::size_t>(length) - 1);
  return wide;
}

}  // namespace

HWND Surface::CreateChild(const char* windowClass, const char* text, DWORD style, DWORD exStyle,
                          Bounds bounds, int tabOrder, HFONT font, void* createParam, bool wide) {
  int id = NextId();
  style |= WS_CHILD;
  if (tabOrder >= 0) style |= WS_TABSTOP;
  auto menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
  HWND child = wide ? CreateWindowExW(exStyle, WideFromCodePage(windowClass).c_str(),
                                      WideFromCodePage(text).c_str(), style, bounds.left,
                                      bounds.top, bounds.width, bounds.height, window_, menu,
                                      ui_.instance(), createParam)
                    : CreateWindowExA(exStyle, windowClass, text, style, bounds.left, bounds.top,
                                      bounds.width, bounds.height, window_, menu, ui_.instance(),
                                      createParam);
  if (!child) return nullptr;
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : Font()), FALSE);
  if (tabOrder >= 0) PlaceInTabOrder(child, tabOrder);
  return child;
}

// Tab and arrow navigation follow the window order: keep tab stops sorted by their
// tab order, ties in creation order.
void Surface::PlaceInTabOrder(HWND child, int tabOrder) {
  auto next = std::upper_bound(tabStops_.begin(), tabStops_.end(), tabOrder,
                               [](int order, const auto& entry) { return order < entry.first; });
  bool move = true;
  HWND insertAfter = HWND_TOP;  // 0, so `move` says whether to move at all
  if (next != tabStops_.begin()) {
    insertAfter = std::prev(next)->second;
  } else if (next != tabStops_.end()) {
    HWND before = GetWindow(next->second, GW_HWNDPREV);
    if (before) insertAfter = before;
    move = before != child;  // new children may come first already
  } else {
    move = false;
  }
  if (move) SetWindowPos(child, insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  tabStops_.insert(next, {tabOrder, child});
}

bool Surface::Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      if (lParam) {
        if (ControlCore* control = ui_.Find(reinterpret_cast<HWND>(lParam))) {
          control->OnCommand(HIWORD(wParam));
          result = 0;
          return true;
        }
      }
      return false;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (ControlCore* control = header ? ui_.Find(header->hwndFrom) : nullptr) {
        result = control->OnNotify(*header);
        return true;
      }
      return false;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      if (ControlCore* control = ui_.Find(reinterpret_cast<HWND>(lParam))) {
        if (HBRUSH brush = control->OnColor(reinterpret_cast<HDC>(wParam))) {
          result = reinterpret_cast<LRESULT>(brush);
          return true;
        }
      }
      return false;
    case WM_ERASEBKGND: {
      RECT area;
      GetClientRect(window_, &area);
      FillRect(reinterpret_cast<HDC>(wParam), &area, Background());
      result = 1;
      return true;
    }
    case WM_SETCURSOR:
      if (ui_.ApplyCursor(lParam)) {
        result = TRUE;
        return true;
      }
      return false;
    default: return false;
  }
}

}  // namespace platform::win32
