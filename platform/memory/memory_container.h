// What forms and pages share: making controls. The form owns every control made on it
// or on one of its pages.
#pragma once

#include <memory>
#include <string>

#include "platform/memory/memory_controls.h"
#include "platform/toolkit.h"

namespace platform {

template <class Base>  // Form or Container
class ContainerImpl : public Base {
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
  // Where a new control goes.
  virtual ControlSite Site() = 0;
  // Takes ownership of a new control; returns it.
  virtual MemoryControl& Adopt(std::unique_ptr<MemoryControl> control) = 0;

 private:
  template <class T, class... Args>
  T& Make(Args&&... args);
};

extern template class ContainerImpl<Form>;
extern template class ContainerImpl<Container>;

}  // namespace platform
