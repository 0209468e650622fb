// The list view, a common control, and the busy animation, drawn by the program.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_pictures.h"

namespace platform::win32 {

namespace {

class ListViewControl final : public WindowControl<ListView> {
 public:
  ListViewControl(Surface& host, const ListViewSpec& spec)
      : WindowControl(host), onClick_(spec.onClick), onDoubleClick_(spec.onDoubleClick) {
    DWORD style = WS_VISIBLE | LVS_LIST | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
    AttachNative(host.CreateChild(WC_LISTVIEWA, "", style, WS_EX_CLIENTEDGE, spec.bounds,
                                  spec.tabOrder < 0 ? 0 : spec.tabOrder));
  }

  void Clear() override { SendMessageA(window(), LVM_DELETEALLITEMS, 0, 0); }

  void AddItem(const std::string& caption) override {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = Count();
    item.pszText = const_cast<char*>(caption.c_str());
    SendMessageA(window(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }

  int Count() const override {
    return static_cast<int>(SendMessageA(window(), LVM_GETITEMCOUNT, 0, 0));
  }

  std::string ItemCaption(int index) const override {
    if (index < 0 || index >= Count()) return {};
    for (int size = 256;; size *= 4) {
      std::string text(static_cast<size_t>(size), '\0');
      LVITEMA item{};
      item.iSubItem = 0;
      item.pszText = text.data();
      item.cchTextMax = size;
      auto length = static_cast<int>(
          SendMessageA(window(), LVM_GETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item)));
      if (length < size - 1 || size > (1 << 20)) {
        text.resize(static_cast<size_t>(length));
        return text;
      }
    }
  }

  int SelectedIndex() const override {
    return static_cast<int>(
        SendMessageA(window(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  }

  // An index outside the list clears the selection.
  void Select(int index) override {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    if (index < 0 || index >= Count()) {
      SendMessageA(window(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(&state));
      return;
    }
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(window(), LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&state));
    SendMessageA(window(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
  }

  LRESULT OnNotify(const NMHDR& header) override {
    Action handler;
    if (header.code == NM_CLICK) handler = onClick_;
    if (header.code == NM_DBLCLK) handler = onDoubleClick_;
    if (handler) handler();
    return 0;
  }

 private:
  Action onClick_;
  Action onDoubleClick_;
};

// The busy clip, drawn by the program: it steps through its frames on a timer of its
// own window, so it keeps moving while a handler pumps messages, and rests on its stop
// frame.
class AnimationControl final : public WindowControl<Animation> {
 public:
  static constexpr int Frames = 16;
  static constexpr UINT FrameMs = 80;
  static constexpr UINT_PTR TimerId = 1;

  AnimationControl(Surface& host, const AnimationSpec& spec)
      : WindowControl(host), stop_(((spec.stopFrame % Frames) + Frames) % Frames), frame_(stop_) {
    CreateCustom(spec.bounds, WS_VISIBLE);
  }

  void SetActive(bool active) override {
    if (active == active_) return;
    active_ = active;
    if (active) {
      SetTimer(window(), TimerId, FrameMs, nullptr);
    } else {
      KillTimer(window(), TimerId);
      ShowFrame(stop_);
    }
  }
  bool Active() const override { return active_; }

  bool OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
    result = 0;
    switch (message) {
      case WM_TIMER:
        if (wParam != TimerId) return false;
        if (active_) ShowFrame((frame_ + 1) % Frames);
        return true;
      case WM_PAINT: Paint(); return true;
      case WM_ERASEBKGND: result = 1; return true;
      case AnimationFrameMessage: result = frame_; return true;
      default: return false;
    }
  }

 private:
  void ShowFrame(int frame) {
    if (frame == frame_) return;
    frame_ = frame;
    InvalidateRect(window(), nullptr, FALSE);
  }

  // Drawn off screen first, so the beam does not flicker.
  void Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window(), &paint);
    RECT area;
    GetClientRect(window(), &area);
    HDC buffer = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, area.right, area.bottom);
    HGDIOBJ old = SelectObject(buffer, bitmap);
    DrawBusyFrame(buffer, area, frame_, Frames, host().backgroundColor());
    BitBlt(dc, 0, 0, area.right, area.bottom, buffer, 0, 0, SRCCOPY);
    SelectObject(buffer, old);
    DeleteObject(bitmap);
    DeleteDC(buffer);
    EndPaint(window(), &paint);
  }

  int stop_;
  int frame_;
  bool active_ = false;
};

}  // namespace

ListView& AddListViewTo(Surface& host, const ListViewSpec& spec) {
  return host.Adopt(std::make_unique<ListViewControl>(host, spec));
}

Animation& AddAnimationTo(Surface& host, const AnimationSpec& spec) {
  return host.Adopt(std::make_unique<AnimationControl>(host, spec));
}

}  // namespace platform::win32
