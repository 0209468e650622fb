// Labels and push buttons, and what every control shares.
#include "platform/win32/win32_controls.h"

#include <windowsx.h>

#include <algorithm>
#include <memory>

namespace platform::win32 {

std::string WindowText(HWND window) {
  int length = GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), length + 1)));
  return text;
}

MouseEvent MouseEventFrom(MouseButton button, LPARAM lParam) {
  return MouseEvent{button, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}};
}

MouseButton HeldButton(WPARAM keyState) {
  if (keyState & MK_LBUTTON) return MouseButton::Left;
  if (keyState & MK_RBUTTON) return MouseButton::Right;
  if (keyState & MK_MBUTTON) return MouseButton::Middle;
  return MouseButton::Left;
}

namespace {

// A STATIC. It always notifies, so the pointer over it belongs to the label and not to
// the form's background, whether or not it has handlers. A label grows to its text,
// which the system's substitute fonts may draw wider than the layout allows: a one-line
// label to the right, a word-wrapped one downwards.
class LabelControl final : public WindowControl<Control> {
 public:
  LabelControl(Surface& host, const LabelSpec& spec)
      : WindowControl(host),
        font_(host.ui().Font(spec.font)),
        color_(host.ui().Resolve(spec.font.color, COLOR_WINDOWTEXT)),
        wordWrap_(spec.wordWrap),
        transparent_(spec.transparent),
        onClick_(spec.onClick),
        onMouseMove_(spec.onMouseMove) {
    DWORD style = WS_VISIBLE | SS_NOTIFY | (spec.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP);
    AttachNative(
        host.CreateChild("STATIC", spec.caption.c_str(), style, 0, spec.bounds, -1, font_));
    FitText();
  }

  void SetText(const std::string& text) override {
    WindowControl::SetText(text);
    FitText();
  }

  void OnCommand(WORD code) override {
    if (code != STN_CLICKED) return;
    Action handler = onClick_;  // the handler may destroy this label's form
    if (handler) handler();
  }

  // Transparent over the surface's own colour: painting that colour keeps old text from
  // showing through when the caption changes.
  HBRUSH OnColor(HDC dc) override {
    SetTextColor(dc, color_);
    if (transparent_)
      SetBkMode(dc, TRANSPARENT);
    else
      SetBkColor(dc, host().backgroundColor());
    return host().Background();
  }

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) override {
    if (message == WM_MOUSEMOVE && onMouseMove_) {
      MouseAction handler = onMouseMove_;
      handler(MouseEventFrom(HeldButton(wParam), lParam));
    }
    return false;
  }

 private:
  void FitText() {
    if (!window()) return;
    std::string text = Text();
    RECT own;
    GetClientRect(window(), &own);
    HDC dc = GetDC(window());
    HGDIOBJ old = SelectObject(dc, font_);
    RECT needed{0, 0, wordWrap_ ? own.right : 0, 0};
    DrawTextA(dc, text.c_str(), -1, &needed,
              DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(window(), dc);
    if (needed.right > own.right || needed.bottom > own.bottom)
      SetWindowPos(window(), nullptr, 0, 0, std::max(needed.right, own.right),
                   std::max(needed.bottom, own.bottom), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  HFONT font_;
  COLORREF color_;
  bool wordWrap_;
  bool transparent_;
  Action onClick_;
  MouseAction onMouseMove_;
};

class ButtonControl final : public WindowControl<Button> {
 public:
  ButtonControl(Surface& host, const ButtonSpec& spec)
      : WindowControl(host), onClick_(spec.onClick) {
    DWORD style = WS_VISIBLE | (spec.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    if (!spec.enabled) style |= WS_DISABLED;
    AttachNative(host.CreateChild("BUTTON", spec.caption.c_str(), style, 0, spec.bounds,
                                  spec.tabOrder < 0 ? 0 : spec.tabOrder));
    if (spec.isDefault) host.SetDefaultButton(this);
    if (spec.isCancel) host.SetCancelButton(this);
  }

  ~ButtonControl() override {
    if (host().DefaultButton() == this) host().SetDefaultButton(nullptr);
    if (host().CancelButton() == this) host().SetCancelButton(nullptr);
  }

  void Click() override {
    Action handler = onClick_;
    if (handler) handler();
  }

  void SetOnClick(Action onClick) override { onClick_ = std::move(onClick); }

  void OnCommand(WORD code) override {
    if (code == BN_CLICKED) Click();
  }

  // The corners around the button take the surface's colour.
  HBRUSH OnColor(HDC) override { return host().Background(); }

 private:
  Action onClick_;
};

}  // namespace

Control& AddLabelTo(Surface& host, const LabelSpec& spec) {
  return host.Adopt(std::make_unique<LabelControl>(host, spec));
}

Button& AddButtonTo(Surface& host, const ButtonSpec& spec) {
  return host.Adopt(std::make_unique<ButtonControl>(host, spec));
}

}  // namespace platform::win32
