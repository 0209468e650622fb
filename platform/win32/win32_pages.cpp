// The page control: a tab control whose pages are child windows holding controls of
// their own; only the active tab's page is shown.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <utility>
#include <vector>

#include "platform/win32/win32_controls.h"

namespace platform::win32 {

namespace {

class Page final : public SurfaceContainer<Container>, public SurfaceWindow {
 public:
  // A page takes its form's colour, so text coloured for the form reads on it too.
  Page(Surface& owner, HWND tabs, const FontSpec& font)
      : surface_(owner.ui(), &owner.Root(), font, owner.Root().backgroundColor()) {
    // A control parent, so Tab moves through the page's controls.
    window_ = CreateWindowExA(WS_EX_CONTROLPARENT, PageClass, "", WS_CHILD, 0, 0, 0, 0, tabs,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(owner.NextId())),
                              owner.ui().instance(), static_cast<SurfaceWindow*>(this));
    surface_.SetWindow(window_);
  }

  ~Page() override {
    if (IsWindow(window_)) DestroyWindow(window_);
    surface_.ReleaseControls();
  }

  HWND window() const { return window_; }
  void SetMouseMove(MouseAction onMouseMove) { onMouseMove_ = std::move(onMouseMove); }

  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
    if (!surface_.window()) surface_.SetWindow(window);
    LRESULT result = 0;
    if (surface_.Route(message, wParam, lParam, result)) return result;
    if (message == WM_MOUSEMOVE && onMouseMove_) {
      MouseAction handler = onMouseMove_;
      handler(MouseEventFrom(HeldButton(wParam), lParam));
      return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

 protected:
  Surface& ControlSurface() override { return surface_; }

 private:
  Surface surface_;
  HWND window_ = nullptr;
  MouseAction onMouseMove_;
};

class PageControlImpl final : public WindowControl<PageControl> {
 public:
  PageControlImpl(Surface& host, const PageControlSpec& spec) : WindowControl(host) {
    // Pages are children of the tab control: it must not paint over them.
    DWORD style = WS_VISIBLE | WS_CLIPCHILDREN;
    if (spec.multiLine || spec.tabsOnRight) style |= TCS_MULTILINE;  // vertical needs it
    if (spec.tabsOnRight) style |= TCS_VERTICAL | TCS_RIGHT;
    AttachNative(host.CreateChild(WC_TABCONTROLA, "", style, WS_EX_CONTROLPARENT, spec.bounds,
                                  spec.tabOrder < 0 ? 0 : spec.tabOrder));
  }

  Container& AddPage(const std::string& caption, const FontSpec& font) override {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(caption.c_str());
    SendMessageA(window(), TCM_INSERTITEMA, static_cast<WPARAM>(pages_.size()),
                 reinterpret_cast<LPARAM>(&item));
    pages_.push_back(std::make_unique<Page>(host(), window(), font));
    Layout();
    if (ActivePage() < 0) SendMessageA(window(), TCM_SETCURSEL, 0, 0);
    ShowActive();
    return *pages_.back();
  }

  int PageCount() const override { return static_cast<int>(pages_.size()); }

  void SetActivePage(int index) override {
    if (index < 0 || index >= PageCount()) return;
    SendMessageA(window(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    ShowActive();
  }

  void SetPageMouseMove(int index, MouseAction onMouseMove) override {
    if (index >= 0 && index < PageCount())
      pages_[static_cast<size_t>(index)]->SetMouseMove(std::move(onMouseMove));
  }

  int ActivePage() const override {
    return static_cast<int>(SendMessageA(window(), TCM_GETCURSEL, 0, 0));
  }

  LRESULT OnNotify(const NMHDR& header) override {
    if (header.code == TCN_SELCHANGE) ShowActive();
    return 0;
  }

  bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT&) override {
    if (message == WM_SIZE) Layout();
    return false;
  }

 private:
  // Every page fills the display area, which shrinks as rows of tabs are added.
  void Layout() {
    RECT area;
    GetClientRect(window(), &area);
    SendMessageA(window(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    for (auto& page : pages_)
      MoveWindow(page->window(), area.left, area.top, area.right - area.left,
                 area.bottom - area.top, TRUE);
  }

  void ShowActive() {
    int active = ActivePage();
    for (int i = 0; i < PageCount(); ++i)
      ShowWindow(pages_[static_cast<size_t>(i)]->window(), i == active ? SW_SHOWNA : SW_HIDE);
  }

  std::vector<std::unique_ptr<Page>> pages_;
};

}  // namespace

PageControl& AddPageControlTo(Surface& host, const PageControlSpec& spec) {
  return host.Adopt(std::make_unique<PageControlImpl>(host, spec));
}

}  // namespace platform::win32
