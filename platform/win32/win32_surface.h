// The window a control lives on (a form's client area or a page), and the Win32 side
// every control shares: its window, and the notifications routed back to it.
#pragma once

#include <windows.h>

#include <memory>
#include <utility>
#include <vector>

#include "platform/toolkit.h"
#include "platform/win32/win32_ui.h"

namespace platform::win32 {

class Surface;

class ControlCore {
 public:
  explicit ControlCore(Surface& host);
  virtual ~ControlCore();
  ControlCore(const ControlCore&) = delete;
  ControlCore& operator=(const ControlCore&) = delete;

  HWND window() const { return window_; }
  Surface& host() const { return host_; }

  // What the parent window receives about this control.
  virtual void OnCommand(WORD /*code*/) {}
  virtual LRESULT OnNotify(const NMHDR& /*header*/) { return 0; }
  // Colours for WM_CTLCOLOR*: the brush to paint with, or nullptr for the defaults.
  virtual HBRUSH OnColor(HDC /*dc*/) { return nullptr; }
  // Messages of the control's own window; true when handled and `result` is set.
  virtual bool OnMessage(UINT /*message*/, WPARAM, LPARAM, LRESULT& /*result*/) { return false; }

 protected:
  // Takes a native control's window: registered for routing and subclassed, so the
  // application-wide cursor sticks over it and OnMessage sees its messages.
  void AttachNative(HWND window);
  // Creates a window of the toolkit's own control class that calls OnMessage.
  HWND CreateCustom(Bounds bounds, DWORD style, DWORD exStyle = 0);

 private:
  friend LRESULT CALLBACK CustomControlProc(HWND, UINT, WPARAM, LPARAM);
  Surface& host_;
  HWND window_ = nullptr;
  bool subclassed_ = false;
};

// A window that holds controls. The owner (form or page) creates the window and
// handles its messages, calling Route first.
class Surface {
 public:
  Surface(UiState& ui, Surface* root, const FontSpec& font, COLORREF background);
  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  void SetWindow(HWND window) { window_ = window; }
  HWND window() const { return window_; }
  UiState& ui() const { return ui_; }
  Surface& Root() { return root_ ? *root_ : *this; }
  const FontSpec& fontSpec() const { return font_; }
  HFONT Font() const { return ui_.Font(font_); }
  COLORREF backgroundColor() const { return background_; }
  HBRUSH Background() const { return ui_.Brush(background_); }

  // A child window with a fresh id, the surface's font and its place in the tab order
  // (tabOrder < 0: no tab stop). A wide child is a Unicode window: it keeps every
  // character the player types, while the 8-bit calls see its code-page form.
  HWND CreateChild(const char* windowClass, const char* text, DWORD style, DWORD exStyle,
                   Bounds bounds, int tabOrder, HFONT font = nullptr, void* createParam = nullptr,
                   bool wide = false);
  int NextId() { return Root().nextId_++; }

  template <class T>
  T& Adopt(std::unique_ptr<T> control) {
    T& kept = *control;
    controls_.push_back(std::move(control));
    return kept;
  }

  // The buttons Enter and Esc press on the form (kept on the root surface).
  void SetDefaultButton(ControlCore* button) { Root().defaultButton_ = button; }
  void SetCancelButton(ControlCore* button) { Root().cancelButton_ = button; }
  ControlCore* DefaultButton() { return Root().defaultButton_; }
  ControlCore* CancelButton() { return Root().cancelButton_; }

  // Notifications from children, colours, background and cursor; true when handled.
  bool Route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // Drops the controls; called once the window is gone.
  void ReleaseControls();

 private:
  void PlaceInTabOrder(HWND child, int tabOrder);

  UiState& ui_;
  Surface* root_;
  FontSpec font_;
  COLORREF background_;
  HWND window_ = nullptr;
  int nextId_ = 100;  // clear of IDOK, IDCANCEL and the other dialog ids
  std::vector<std::pair<int, HWND>> tabStops_;
  std::vector<std::unique_ptr<ControlCore>> controls_;
  ControlCore* defaultButton_ = nullptr;
  ControlCore* cancelButton_ = nullptr;
};

// The window procedure of forms and pages: forwards to the SurfaceWindow given as the
// creation parameter.
class SurfaceWindow {
 public:
  virtual ~SurfaceWindow() = default;
  virtual LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

LRESULT CALLBACK SurfaceWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK CustomControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Forwards the Container calls of a form or page to the control factories.
template <class Interface>
class SurfaceContainer : public Interface {
 public:
  Control& AddLabel(const LabelSpec& spec) override;
  Button& AddButton(const ButtonSpec& spec) override;
  Control& AddSpeedButton(const SpeedButtonSpec& spec) override;
  Edit& AddEdit(const EditSpec& spec) override;
  Memo& AddMemo(const MemoSpec& spec) override;
  Control& AddRichEdit(const RichEditSpec& spec) override;
  ListView& AddListView(const ListViewSpec& spec) override;
  Animation& AddAnimation(const AnimationSpec& spec) override;
  ImageButton& AddImageButton(const ImageButtonSpec& spec) override;
  PageControl& AddPageControl(const PageControlSpec& spec) override;
  Control& AddImage(Bounds bounds, const std::string& picture, Action onClick) override;

 protected:
  virtual Surface& ControlSurface() = 0;
};

}  // namespace platform::win32
