// The image button cases on the Win32 backend: the pointer's messages are sent to the
// button's window.
#include "tests/common/image_button_rig.h"

#include <windows.h>

#include <utility>

#include "platform/win32/win32_system.h"
#include "platform/win32/win32_toolkit.h"

namespace {

class Win32Rig final : public ImageButtonRig {
 public:
  explicit Win32Rig(platform::Action onClick) {
    platform::FormSpec spec;
    spec.caption = "Quenlar";
    spec.clientWidth = 442;
    spec.clientHeight = 279;
    spec.background = platform::colors::Black;
    form_ = toolkit_.CreateForm(spec);
    button_ = &form_->AddImageButton({{88, 246, 65, 26}, "up", "down", "over", std::move(onClick)});
    form_->Show();
  }

  platform::ImageButton& Button() override { return *button_; }
  void MoveTo(platform::Point client) override {
    at_ = MAKELPARAM(client.x, client.y);
    Send(WM_MOUSEMOVE, 0, at_);
  }
  void Leave() override { Send(WM_MOUSELEAVE, 0, 0); }
  void Press() override { Send(WM_LBUTTONDOWN, MK_LBUTTON, at_); }
  void Release() override { Send(WM_LBUTTONUP, 0, at_); }

 private:
  void Send(UINT message, WPARAM wParam, LPARAM lParam) {
    SendMessageA(reinterpret_cast<HWND>(button_->Handle()), message, wParam, lParam);
  }

  platform::win32::Win32Cursor cursor_;
  platform::win32::Win32Toolkit toolkit_{cursor_};
  std::unique_ptr<platform::Form> form_;
  platform::ImageButton* button_ = nullptr;
  LPARAM at_ = 0;
};

}  // namespace

std::unique_ptr<ImageButtonRig> MakeImageButtonRig(platform::Action onClick) {
  return std::make_unique<Win32Rig>(std::move(onClick));
}
