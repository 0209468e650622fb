#include "platform/win32/win32_form.h"

#include <algorithm>

namespace platform::win32 {

namespace {

struct Styles {
  DWORD style;
  DWORD exStyle;
};

// Fixed borders never get a maximise box: a fixed-size window has nothing to grow into.
Styles StylesFor(const FormSpec& spec) {
  DWORD caption = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  switch (spec.border) {
    case BorderStyle::Single: return {caption | (spec.minimizeBox ? WS_MINIMIZEBOX : 0u), 0};
    case BorderStyle::Dialog: return {caption, WS_EX_DLGMODALFRAME};
    case BorderStyle::ToolWindow: return {caption, WS_EX_TOOLWINDOW};
    case BorderStyle::Sizeable:
      return {caption | WS_THICKFRAME | (spec.minimizeBox ? WS_MINIMIZEBOX : 0u) |
                  (spec.maximizeBox ? WS_MAXIMIZEBOX : 0u),
              0};
  }
  return {caption, 0};
}

struct ThreadWindows {
  HWND except;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectEnabled(HWND window, LPARAM data) {
  auto* collected = reinterpret_cast<ThreadWindows*>(data);
  if (window != collected->except && IsWindowVisible(window) && IsWindowEnabled(window))
    collected->found.push_back(window);
  return TRUE;
}

}  // namespace

Win32Form::Win32Form(UiState& ui, const FormSpec& spec, Action onClose)
    : ui_(ui),
      clientWidth_(spec.clientWidth),
      clientHeight_(spec.clientHeight),
      centred_(spec.centred),
      onMouseMove_(spec.onMouseMove),
      onClose_(std::move(onClose)),
      surface_(ui, nullptr, spec.font, ui.Resolve(spec.background, COLOR_BTNFACE)) {
  Styles styles = StylesFor(spec);
  style_ = styles.style;
  exStyle_ = styles.exStyle | WS_EX_CONTROLPARENT;
  if (spec.outerWidth > 0 && spec.outerHeight > 0) {
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, style_, FALSE, exStyle_);
    clientWidth_ = spec.outerWidth - (frame.right - frame.left);
    clientHeight_ = spec.outerHeight - (frame.bottom - frame.top);
  }
  RECT frame{0, 0, clientWidth_, clientHeight_};
  AdjustWindowRectEx(&frame, style_, FALSE, exStyle_);
  window_ = CreateWindowExA(exStyle_, FormClass, spec.caption.c_str(), style_, CW_USEDEFAULT,
                            CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                            nullptr, nullptr, ui.instance(), static_cast<SurfaceWindow*>(this));
  surface_.SetWindow(window_);
  ui_.AddForm(window_);
  FitClientSize();
}

Win32Form::~Win32Form() {
  *alive_ = false;
  if (modal_) EnableOthers();
  ui_.RemoveForm(window_);
  if (IsWindow(window_)) DestroyWindow(window_);
  surface_.ReleaseControls();
}

void Win32Form::SetCaption(const std::string& caption) { SetWindowTextA(window_, caption.c_str()); }

std::string Win32Form::Caption() const { return WindowText(window_); }

Menu& Win32Form::AddMenu(const std::string& caption, Action onPopup, Action onClick) {
  if (!menus_) menus_ = std::make_unique<MenuBar>(window_, [this] { return surface_.NextId(); });
  Menu& menu = menus_->Add(caption, std::move(onPopup), std::move(onClick));
  FitClientSize();  // the bar takes its height from the window, not from the client area
  return menu;
}

void Win32Form::FitClientSize() {
  RECT frame{0, 0, clientWidth_, clientHeight_};
  AdjustWindowRectEx(&frame, style_, menus_ && menus_->HasMenu(), exStyle_);
  int width = frame.right - frame.left;
  int height = frame.bottom - frame.top;
  UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
  SetWindowPos(window_, nullptr, 0, 0, width, height, flags);
  // A menu bar that wraps onto a second row is taller than the estimate: measure.
  RECT client;
  GetClientRect(window_, &client);
  int dx = clientWidth_ - client.right;
  int dy = clientHeight_ - client.bottom;
  if (dx || dy) SetWindowPos(window_, nullptr, 0, 0, width + dx, height + dy, flags);
}

void Win32Form::CentreOnScreen() {
  RECT frame;
  GetWindowRect(window_, &frame);
  int width = frame.right - frame.left;
  int height = frame.bottom - frame.top;
  int left = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  int top = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
  SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Form::Show() {
  if (!showing_) {
    FitClientSize();
    if (centred_) CentreOnScreen();
  }
  showing_ = true;
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  UpdateWindow(window_);
}

void Win32Form::ShowModal() {
  if (modal_) return;
  auto alive = alive_;
  previousActive_ = GetActiveWindow();
  // Owned by the window it was opened from: it stays above it and out of the taskbar.
  if (!showing_ && previousActive_ && previousActive_ != window_)
    SetWindowLongPtrA(window_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(previousActive_));
  ThreadWindows others{window_, {}};
  EnumThreadWindows(GetCurrentThreadId(), CollectEnabled, reinterpret_cast<LPARAM>(&others));
  disabled_ = others.found;
  for (HWND window : disabled_) EnableWindow(window, FALSE);
  modal_ = true;
  Show();

  MSG message;
  while (*alive && showing_) {
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));  // the outer loop's to see
      break;
    }
    // An error result (another program's oversized message can cause one) ends
    // nothing: the window is still there, so wait for the next message.
    if (got == -1) {
      WaitMessage();
      continue;
    }
    ui_.Dispatch(message);
  }
  if (!*alive) return;
  if (showing_) Close();
  if (modal_) EnableOthers();
}

void Win32Form::EnableOthers() {
  modal_ = false;
  for (HWND window : disabled_)
    if (IsWindow(window)) EnableWindow(window, TRUE);
  disabled_.clear();
}

void Win32Form::Close() {
  if (!showing_ || closing_) return;
  closing_ = true;
  auto alive = alive_;
  Action handler = onClose_;
  if (handler) handler();
  if (!*alive) return;  // the handler destroyed the form
  closing_ = false;
  bool wasModal = modal_;
  // Enabled before hiding, so the system hands activation back to the owner.
  if (modal_) EnableOthers();
  ShowWindow(window_, SW_HIDE);
  showing_ = false;
  if (wasModal && previousActive_ && IsWindow(previousActive_) && IsWindowVisible(previousActive_))
    SetActiveWindow(previousActive_);
}

void Win32Form::RestoreFocus() {
  HWND target = focus_;
  if (!target || !IsWindow(target) || !IsChild(window_, target) || !IsWindowVisible(target) ||
      !IsWindowEnabled(target))
    target = GetNextDlgTabItem(window_, nullptr, FALSE);
  if (target && IsChild(window_, target)) ::SetFocus(target);
}

LRESULT Win32Form::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!surface_.window()) surface_.SetWindow(window);
  LRESULT result = 0;
  if (surface_.Route(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_COMMAND: {
      if (lParam != 0) break;
      UINT id = LOWORD(wParam);
      if (menus_ && HIWORD(wParam) == 0 && menus_->OnCommand(id)) return 0;
      // Enter and Esc as the dialog manager reports them; a default button on a page is
      // not a direct child, so it comes without its window.
      ControlCore* button = nullptr;
      if (id == IDCANCEL)
        button = surface_.CancelButton();
      else if (ControlCore* fallback = surface_.DefaultButton();
               fallback && static_cast<UINT>(GetDlgCtrlID(fallback->window())) == id)
        button = fallback;
      if (button && IsWindowEnabled(button->window())) button->OnCommand(BN_CLICKED);
      return 0;
    }
    case DM_GETDEFID:
      if (ControlCore* button = surface_.DefaultButton())
        return MAKELRESULT(GetDlgCtrlID(button->window()), DC_HASDEFID);
      return 0;
    case WM_INITMENUPOPUP:
      if (menus_ && !HIWORD(lParam)) menus_->OnInitPopup(reinterpret_cast<HMENU>(wParam));
      return 0;
    case WM_MOUSEMOVE:
      if (onMouseMove_) {
        MouseAction handler = onMouseMove_;
        handler(MouseEventFrom(HeldButton(wParam), lParam));
      }
      return 0;
    case WM_CLOSE: Close(); return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(window, focus)) focus_ = focus;
      } else if (!HIWORD(wParam)) {
        RestoreFocus();
        if (!GetFocus()) ::SetFocus(window);  // keeps the keyboard on the form
      }
      return 0;
    case WM_SETFOCUS: RestoreFocus(); return 0;
    default: break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace platform::win32
