// A form: a top-level window with its controls and menu bar, shown normally or modally.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/toolkit.h"
#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_menus.h"
#include "platform/win32/win32_surface.h"
#include "platform/win32/win32_ui.h"

namespace platform::win32 {

class Win32Form final : public SurfaceContainer<Form>, public SurfaceWindow {
 public:
  Win32Form(UiState& ui, const FormSpec& spec, Action onClose);
  ~Win32Form() override;

  WindowHandle Handle() const override { return reinterpret_cast<WindowHandle>(window_); }
  void SetCaption(const std::string& caption) override;
  std::string Caption() const override;
  Menu& AddMenu(const std::string& caption, Action onPopup, Action onClick) override;
  void Show() override;
  // Runs a nested message loop with the thread's other windows disabled.
  void ShowModal() override;
  // Runs onClose and hides the window; the window itself lives on until destroyed.
  void Close() override;
  bool Showing() const override { return showing_; }

  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  Surface& ControlSurface() override { return surface_; }

 private:
  void FitClientSize();
  void CentreOnScreen();
  void EnableOthers();
  void RestoreFocus();

  UiState& ui_;
  int clientWidth_;
  int clientHeight_;
  bool centred_;
  MouseAction onMouseMove_;
  Action onClose_;
  DWORD style_ = 0;
  DWORD exStyle_ = 0;
  Surface surface_;
  HWND window_ = nullptr;
  std::unique_ptr<MenuBar> menus_;
  bool showing_ = false;
  bool closing_ = false;
  bool modal_ = false;
  std::vector<HWND> disabled_;  // what ShowModal disabled, enabled again at its end
  HWND previousActive_ = nullptr;
  HWND focus_ = nullptr;  // the control that had the focus when the form was deactivated
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace platform::win32
