#include "platform/memory/memory_container.h"

#include <utility>

#include "platform/memory/memory_pages.h"
#include "platform/memory/memory_view_controls.h"

namespace platform {

template <class Base>
template <class T, class... Args>
T& ContainerImpl<Base>::Make(Args&&... args) {
  auto control = std::make_unique<T>(Site(), std::forward<Args>(args)...);
  T& made = *control;
  Adopt(std::move(control));
  return made;
}

template <class Base>
Control& ContainerImpl<Base>::AddLabel(const LabelSpec& spec) {
  return Make<MemoryLabel>(spec);
}

template <class Base>
Button& ContainerImpl<Base>::AddButton(const ButtonSpec& spec) {
  return Make<MemoryButton>(spec);
}

template <class Base>
Control& ContainerImpl<Base>::AddSpeedButton(const SpeedButtonSpec& spec) {
  return Make<MemorySpeedButton>(spec);
}

template <class Base>
Edit& ContainerImpl<Base>::AddEdit(const EditSpec& spec) {
  return Make<MemoryEdit>(spec);
}

template <class Base>
Memo& ContainerImpl<Base>::AddMemo(const MemoSpec& spec) {
  return Make<MemoryMemo>(spec);
}

template <class Base>
Control& ContainerImpl<Base>::AddRichEdit(const RichEditSpec& spec) {
  return Make<MemoryRichEdit>(spec);
}

template <class Base>
ListView& ContainerImpl<Base>::AddListView(const ListViewSpec& spec) {
  return Make<MemoryListView>(spec);
}

template <class Base>
Animation& ContainerImpl<Base>::AddAnimation(const AnimationSpec& spec) {
  return Make<MemoryAnimation>(spec);
}

template <class Base>
ImageButton& ContainerImpl<Base>::AddImageButton(const ImageButtonSpec& spec) {
  return Make<MemoryImageButton>(spec);
}

template <class Base>
PageControl& ContainerImpl<Base>::AddPageControl(const PageControlSpec& spec) {
  return Make<MemoryPageControl>(spec);
}

template <class Base>
Control& ContainerImpl<Base>::AddImage(Bounds bounds, const std::string& picture, Action onClick) {
  return Make<MemoryImage>(bounds, picture, std::move(onClick));
}

template class ContainerImpl<Form>;
template class ContainerImpl<Container>;

}  // namespace platform
