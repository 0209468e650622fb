// The list view and the busy animation: common controls.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "platform/win32/win32_controls.h"

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

  void Clear() override { SendMessageA(Window(), LVM_DELETEALLITEMS, 0, 0); }

  void AddItem(const std::string& caption) override {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = Count();
    item.pszText = const_cast<char*>(caption.c_str());
    SendMessageA(Window(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }

  int Count() const override {
    return static_cast<int>(SendMessageA(Window(), LVM_GETITEMCOUNT, 0, 0));
  }

  std::string ItemCaption(int index) const override {
    if (index < 0 || index >= Count()) return {};
    for (int size = 256;; size *= 4) {
      std::string text(static_cast<size_t>(size), '\0');
      LVITEMA item{};
      item.iSubItem = 0;
      item.pszText = text.data();
      item.cchTextMax = size;
      auto length = static_cast<int>(SendMessageA(Window(), LVM_GETITEMTEXTA, index,
                                                  reinterpret_cast<LPARAM>(&item)));
      if (length < size - 1 || size > (1 << 20)) {
        text.resize(static_cast<size_t>(length));
        return text;
      }
    }
  }

  int SelectedIndex() const override {
    return static_cast<int>(
        SendMessageA(Window(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  }

  // An index outside the list clears the selection.
  void Select(int index) override {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    if (index < 0 || index >= Count()) {
      SendMessageA(Window(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(&state));
      return;
    }
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(Window(), LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&state));
    SendMessageA(Window(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
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

class AnimationControl final : public WindowControl<Animation> {
 public:
  AnimationControl(Surface& host, const AnimationSpec& spec) : WindowControl(host) {
    AttachNative(host.CreateChild(PROGRESS_CLASSA, "", WS_VISIBLE | PBS_MARQUEE, 0,
                                  spec.bounds, -1));
  }

  void SetActive(bool active) override {
    active_ = active;
    SendMessageA(Window(), PBM_SETMARQUEE, active ? TRUE : FALSE, 30);
  }
  bool Active() const override { return active_; }

 private:
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
