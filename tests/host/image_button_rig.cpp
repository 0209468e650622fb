// The image button cases on the in-memory backend.
#include "tests/common/image_button_rig.h"

#include <utility>

#include "platform/memory/memory_machine.h"
#include "platform/memory/memory_view_controls.h"

namespace {

class MemoryRig final : public ImageButtonRig {
 public:
  explicit MemoryRig(platform::Action onClick) {
    platform::FormSpec spec;
    spec.caption = "Quenlar";
    spec.clientWidth = 442;
    spec.clientHeight = 279;
    form_ = machine_.toolkit().CreateForm(spec, {});
    button_ = &dynamic_cast<platform::MemoryImageButton&>(form_->AddImageButton(
        {{88, 246, 65, 26}, "up", "down", "over", std::move(onClick)}));
    form_->Show();
  }

  platform::ImageButton& Button() override { return *button_; }
  void MoveTo(platform::Point client) override { button_->UserPointerMove(client); }
  void Leave() override { button_->UserPointerLeave(); }
  void Press() override { button_->UserMouseDown(platform::MouseButton::Left); }
  void Release() override { button_->UserMouseUp(platform::MouseButton::Left); }

 private:
  platform::MemoryMachine machine_;
  std::unique_ptr<platform::Form> form_;
  platform::MemoryImageButton* button_ = nullptr;
};

}  // namespace

std::unique_ptr<ImageButtonRig> MakeImageButtonRig(platform::Action onClick) {
  return std::make_unique<MemoryRig>(std::move(onClick));
}
