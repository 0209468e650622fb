// The controls as real windows. Each factory creates the control on a surface, which
// owns it; the reference stays valid until the surface's form is destroyed.
#pragma once

#include <windows.h>

#include <string>

#include "platform/toolkit.h"
#include "platform/win32/win32_surface.h"

namespace platform::win32 {

std::string WindowText(HWND window);
MouseEvent MouseEventFrom(MouseButton button, LPARAM lParam);
// The button a move reports: the first one held, else the left.
MouseButton HeldButton(WPARAM keyState);

// Sent to a busy animation's window: answers the number of the frame it shows.
inline constexpr UINT AnimationFrameMessage = WM_APP + 0x51;

// Control on a window of its own; Interface is Control or one of its refinements.
template <class Interface>
class WindowControl : public Interface, public ControlCore {
 public:
  using ControlCore::ControlCore;

  WindowHandle Handle() const override { return reinterpret_cast<WindowHandle>(window()); }
  void SetText(const std::string& text) override { SetWindowTextA(window(), text.c_str()); }
  std::string Text() const override { return WindowText(window()); }
  void SetEnabled(bool enabled) override { EnableWindow(window(), enabled ? TRUE : FALSE); }
  bool Enabled() const override { return IsWindowEnabled(window()) != FALSE; }
  void SetVisible(bool visible) override { ShowWindow(window(), visible ? SW_SHOWNA : SW_HIDE); }
  bool Visible() const override {
    return (GetWindowLongPtrA(window(), GWL_STYLE) & WS_VISIBLE) != 0;
  }
  void SetFocus() override { ::SetFocus(window()); }
  Point ClientToScreen(Point p) const override {
    POINT at{p.x, p.y};
    ::ClientToScreen(window(), &at);
    return {at.x, at.y};
  }
};

Control& AddLabelTo(Surface& host, const LabelSpec& spec);
Button& AddButtonTo(Surface& host, const ButtonSpec& spec);
Edit& AddEditTo(Surface& host, const EditSpec& spec);
Memo& AddMemoTo(Surface& host, const MemoSpec& spec);
Control& AddRichEditTo(Surface& host, const RichEditSpec& spec);
ListView& AddListViewTo(Surface& host, const ListViewSpec& spec);
Animation& AddAnimationTo(Surface& host, const AnimationSpec& spec);
PageControl& AddPageControlTo(Surface& host, const PageControlSpec& spec);
Control& AddSpeedButtonTo(Surface& host, const SpeedButtonSpec& spec);
ImageButton& AddImageButtonTo(Surface& host, const ImageButtonSpec& spec);
Control& AddImageTo(Surface& host, Bounds bounds, const std::string& picture, Action onClick);

template <class I>
Control& SurfaceContainer<I>::AddLabel(const LabelSpec& spec) {
  return AddLabelTo(ControlSurface(), spec);
}
template <class I>
Button& SurfaceContainer<I>::AddButton(const ButtonSpec& spec) {
  return AddButtonTo(ControlSurface(), spec);
}
template <class I>
Control& SurfaceContainer<I>::AddSpeedButton(const SpeedButtonSpec& spec) {
  return AddSpeedButtonTo(ControlSurface(), spec);
}
template <class I>
Edit& SurfaceContainer<I>::AddEdit(const EditSpec& spec) {
  return AddEditTo(ControlSurface(), spec);
}
template <class I>
Memo& SurfaceContainer<I>::AddMemo(const MemoSpec& spec) {
  return AddMemoTo(ControlSurface(), spec);
}
template <class I>
Control& SurfaceContainer<I>::AddRichEdit(const RichEditSpec& spec) {
  return AddRichEditTo(ControlSurface(), spec);
}
template <class I>
ListView& SurfaceContainer<I>::AddListView(const ListViewSpec& spec) {
  return AddListViewTo(ControlSurface(), spec);
}
template <class I>
Animation& SurfaceContainer<I>::AddAnimation(const AnimationSpec& spec) {
  return AddAnimationTo(ControlSurface(), spec);
}
template <class I>
ImageButton& SurfaceContainer<I>::AddImageButton(const ImageButtonSpec& spec) {
  return AddImageButtonTo(ControlSurface(), spec);
}
template <class I>
PageControl& SurfaceContainer<I>::AddPageControl(const PageControlSpec& spec) {
  return AddPageControlTo(ControlSurface(), spec);
}
template <class I>
Control& SurfaceContainer<I>::AddImage(Bounds bounds, const std::string& picture, Action onClick) {
  return AddImageTo(ControlSurface(), bounds, picture, std::move(onClick));
}

}  // namespace platform::win32
