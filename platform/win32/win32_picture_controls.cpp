// Controls that draw themselves: the speed button, the image button and the image.
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <memory>

#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_pictures.h"

namespace platform::win32 {

namespace {

void PaintWith(HWND window, HBRUSH background, const std::string& picture, bool edge,
               UINT edgeKind) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT area;
  GetClientRect(window, &area);
  FillRect(dc, &area, background);
  RECT inner = area;
  if (edge) {
    DrawEdge(dc, &area, edgeKind, BF_RECT);
    InflateRect(&inner, -2, -2);
  }
  DrawPicture(dc, inner, picture);
  EndPaint(window, &paint);
}

bool PointerInside(HWND window, LPARAM lParam) {
  RECT area;
  GetClientRect(window, &area);
  POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  return PtInRect(&area, at) != FALSE;
}

// Flat and never focused; holds the pointer capture while a button is down so moves
// outside the form still arrive, in the button's client coordinates.
class SpeedButtonControl final : public WindowControl<Control> {
 public:
  SpeedButtonControl(Surface& host, const SpeedButtonSpec& spec)
      : WindowControl(host),
        glyph_(spec.glyph),
        onDown_(spec.onMouseDown),
        onMove_(spec.onMouseMove),
        onUp_(spec.onMouseUp) {
    CreateCustom(spec.bounds, WS_VISIBLE);
    if (!spec.hint.empty()) AddTooltip(spec.hint);
  }

  ~SpeedButtonControl() override {
    if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
  }

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    result = 0;
    switch (message) {
      case WM_PAINT:
        PaintWith(window(), GetSysColorBrush(COLOR_BTNFACE), glyph_, pressed_ || hot_,
                  pressed_ ? BDR_SUNKENOUTER : BDR_RAISEDINNER);
        return true;
      case WM_ERASEBKGND: result = 1; return true;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK: return Down(MouseButton::Left, lParam);
      case WM_RBUTTONDOWN:
      case WM_RBUTTONDBLCLK: return Down(MouseButton::Right, lParam);
      case WM_MBUTTONDOWN:
      case WM_MBUTTONDBLCLK: return Down(MouseButton::Middle, lParam);
      case WM_LBUTTONUP: return Up(MouseButton::Left, lParam);
      case WM_RBUTTONUP: return Up(MouseButton::Right, lParam);
      case WM_MBUTTONUP: return Up(MouseButton::Middle, lParam);
      case WM_MOUSEMOVE: {
        Track();
        MouseAction handler = onMove_;
        if (handler) handler(MouseEventFrom(HeldButton(wParam), lParam));
        return true;
      }
      case WM_MOUSELEAVE:
        tracking_ = false;
        SetHot(false);
        return true;
      case WM_CAPTURECHANGED: SetPressed(false); return true;
      default: return false;
    }
  }

 private:
  bool Down(MouseButton button, LPARAM lParam) {
    SetCapture(window());
    SetPressed(true);
    MouseAction handler = onDown_;
    if (handler) handler(MouseEventFrom(button, lParam));
    return true;
  }

  bool Up(MouseButton button, LPARAM lParam) {
    if (GetCapture() == window()) ReleaseCapture();
    SetPressed(false);
    MouseAction handler = onUp_;
    if (handler) handler(MouseEventFrom(button, lParam));
    return true;
  }

  void Track() {
    if (tracking_) return;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window(), 0};
    tracking_ = TrackMouseEvent(&track) != FALSE;
    SetHot(true);
  }

  void SetHot(bool hot) {
    if (hot_ == hot) return;
    hot_ = hot;
    InvalidateRect(window(), nullptr, FALSE);
  }

  void SetPressed(bool pressed) {
    if (pressed_ == pressed) return;
    pressed_ = pressed;
    InvalidateRect(window(), nullptr, FALSE);
  }

  void AddTooltip(const std::string& hint) {
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, host().Root().window(),
                               nullptr, host().ui().instance(), nullptr);
    if (!tooltip_) return;
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;  // accepted by every version of the control
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = host().window();
    tool.uId = reinterpret_cast<UINT_PTR>(window());
    tool.lpszText = const_cast<char*>(hint.c_str());
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }

  std::string glyph_;
  MouseAction onDown_;
  MouseAction onMove_;
  MouseAction onUp_;
  HWND tooltip_ = nullptr;
  bool tracking_ = false;
  bool hot_ = false;
  bool pressed_ = false;
};

// Clicks on release over the picture, like a push button. The hover picture shows when
// the pointer comes over the button, and again only after it has left: a release shows
// the up picture even with the pointer still on it.
class ImageButtonControl final : public WindowControl<ImageButton> {
 public:
  ImageButtonControl(Surface& host, const ImageButtonSpec& spec)
      : WindowControl(host),
        up_(spec.imageUp),
        down_(spec.imageDown.empty() ? spec.imageUp : spec.imageDown),
        over_(spec.imageOver.empty() ? spec.imageUp : spec.imageOver),
        shown_(up_),
        onClick_(spec.onClick) {
    CreateCustom(spec.bounds, WS_VISIBLE);
  }

  std::string ShownImage() const override { return shown_; }

  void Click() override {
    Action handler = onClick_;
    if (handler) handler();
  }

  bool OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) override {
    result = 0;
    switch (message) {
      case WM_PAINT: PaintWith(window(), host().Background(), shown_, false, 0); return true;
      case WM_ERASEBKGND: result = 1; return true;
      case WM_MOUSEMOVE:
        // While the button holds the capture, moves arrive from outside it too.
        if (!PointerInside(window(), lParam)) {
          if (pointerOver_) Leave();
          return true;
        }
        if (!tracking_) {
          TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window(), 0};
          tracking_ = TrackMouseEvent(&track) != FALSE;
        }
        if (!pointerOver_) {
          Show(over_);
          pointerOver_ = true;
        }
        return true;
      case WM_MOUSELEAVE:
        tracking_ = false;
        Leave();
        return true;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        SetCapture(window());
        pressed_ = true;
        Show(down_);
        return true;
      case WM_LBUTTONUP: {
        bool clicked = pressed_ && PointerInside(window(), lParam);
        pressed_ = false;
        if (GetCapture() == window()) ReleaseCapture();
        Show(up_);
        // Last: the handler may run a modal window or destroy this button's form.
        if (clicked) Click();
        return true;
      }
      case WM_CAPTURECHANGED: pressed_ = false; return true;
      default: return false;
    }
  }

 private:
  void Leave() {
    Show(up_);
    pointerOver_ = false;
  }

  void Show(const std::string& picture) {
    if (picture == shown_) return;
    shown_ = picture;
    InvalidateRect(window(), nullptr, FALSE);
  }

  std::string up_;
  std::string down_;
  std::string over_;
  std::string shown_;
  Action onClick_;
  bool tracking_ = false;
  bool pointerOver_ = false;
  bool pressed_ = false;
};

class ImageControl final : public WindowControl<Control> {
 public:
  ImageControl(Surface& host, Bounds bounds, const std::string& picture, Action onClick)
      : WindowControl(host), picture_(picture), onClick_(std::move(onClick)) {
    SIZE own = PictureSize(picture);
    if (bounds.width <= 0) bounds.width = own.cx;
    if (bounds.height <= 0) bounds.height = own.cy;
    CreateCustom(bounds, WS_VISIBLE);
  }

  bool OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) override {
    result = 0;
    switch (message) {
      case WM_PAINT: PaintWith(window(), host().Background(), picture_, false, 0); return true;
      case WM_ERASEBKGND: result = 1; return true;
      case WM_LBUTTONDOWN:
        SetCapture(window());
        pressed_ = true;
        return true;
      case WM_LBUTTONUP: {
        bool clicked = pressed_ && PointerInside(window(), lParam);
        pressed_ = false;
        if (GetCapture() == window()) ReleaseCapture();
        Action handler = onClick_;
        if (clicked && handler) handler();
        return true;
      }
      case WM_CAPTURECHANGED: pressed_ = false; return true;
      default: return false;
    }
  }

 private:
  std::string picture_;
  Action onClick_;
  bool pressed_ = false;
};

}  // namespace

Control& AddSpeedButtonTo(Surface& host, const SpeedButtonSpec& spec) {
  return host.Adopt(std::make_unique<SpeedButtonControl>(host, spec));
}

ImageButton& AddImageButtonTo(Surface& host, const ImageButtonSpec& spec) {
  return host.Adopt(std::make_unique<ImageButtonControl>(host, spec));
}

Control& AddImageTo(Surface& host, Bounds bounds, const std::string& picture, Action onClick) {
  return host.Adopt(std::make_unique<ImageControl>(host, bounds, picture, std::move(onClick)));
}

}  // namespace platform::win32
