#include "platform/memory/memory_view_controls.h"

#include <utility>

namespace platform {

MemoryListView::MemoryListView(const ControlSite& site, const ListViewSpec& spec)
    : ControlImpl(site, spec.bounds, "SysListView32", false), spec_(spec) {}

void MemoryListView::Clear() {
  items_.clear();
  selected_ = -1;
}

std::string MemoryListView::ItemCaption(int index) const {
  if (index < 0 || index >= Count()) return {};
  return items_[index];
}

void MemoryListView::Select(int index) { selected_ = index >= 0 && index < Count() ? index : -1; }

bool MemoryListView::UserClickItem(int index) {
  if (!Reachable()) return false;
  Select(index);
  Fire(spec_.onClick);
  return true;
}

bool MemoryListView::UserDoubleClickItem(int index) {
  if (!UserClickItem(index)) return false;
  Fire(spec_.onDoubleClick);
  return true;
}

MemoryAnimation::MemoryAnimation(const ControlSite& site, const AnimationSpec& spec)
    : ControlImpl(site, spec.bounds, "QuenlarControl", false), spec_(spec) {}

void MemoryAnimation::SetActive(bool active) {
  if (active && !active_) ++starts_;
  active_ = active;
}

MemoryImageButton::MemoryImageButton(const ControlSite& site, const ImageButtonSpec& spec)
    : ControlImpl(site, spec.bounds, "Static", true), spec_(spec), shown_(spec.imageUp) {}

void MemoryImageButton::Click() { Fire(spec_.onClick); }

bool MemoryImageButton::UserPointerMove(Point client) {
  const bool inside =
      client.x >= 0 && client.y >= 0 && client.x < bounds_.width && client.y < bounds_.height;
  if (!inside || !Reachable()) return false;
  if (!over_) {
    shown_ = spec_.imageOver;
    over_ = true;
  }
  return true;
}

bool MemoryImageButton::UserPointerLeave() {
  shown_ = spec_.imageUp;
  over_ = false;
  pressed_ = false;
  return true;
}

bool MemoryImageButton::UserMouseDown(MouseButton button) {
  if (!Reachable()) return false;
  if (button == MouseButton::Left) {
    pressed_ = true;
    shown_ = spec_.imageDown;
  }
  return true;
}

bool MemoryImageButton::UserMouseUp(MouseButton button) {
  if (button != MouseButton::Left) return false;
  const bool click = pressed_;
  pressed_ = false;
  if (click) Click();
  shown_ = spec_.imageUp;
  return click;
}

bool MemoryImageButton::UserClick() {
  if (!UserMouseDown(MouseButton::Left)) return false;
  return UserMouseUp(MouseButton::Left);
}

MemoryImage::MemoryImage(const ControlSite& site, Bounds bounds, std::string picture,
                         Action onClick)
    : ControlImpl(site, bounds, "Static", true),
      picture_(std::move(picture)),
      onClick_(std::move(onClick)) {}

bool MemoryImage::UserClick() {
  if (!onClick_ || !Reachable()) return false;
  Fire(onClick_);
  return true;
}

}  // namespace platform
