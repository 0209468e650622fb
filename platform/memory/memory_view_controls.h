// The in-memory list view, busy animation and pictures.
#pragma once

#include <string>
#include <vector>

#include "platform/memory/memory_controls.h"

namespace platform {

class MemoryListView final : public ControlImpl<ListView> {
 public:
  MemoryListView(const ControlSite& site, const ListViewSpec& spec);
  void Clear() override;
  void AddItem(const std::string& caption) override { items_.push_back(caption); }
  int Count() const override { return static_cast<int>(items_.size()); }
  // "" for an index out of range.
  std::string ItemCaption(int index) const override;
  int SelectedIndex() const override { return selected_; }
  // An index out of range selects nothing.
  void Select(int index) override;
  // A click on an entry selects it, a click on no entry (-1) selects nothing; then the
  // click handler runs. A double click does the same and then runs its own handler.
  bool UserClickItem(int index);
  bool UserDoubleClickItem(int index);

 private:
  ListViewSpec spec_;
  std::vector<std::string> items_;
  int selected_ = -1;
};

class MemoryAnimation final : public ControlImpl<Animation> {
 public:
  MemoryAnimation(const ControlSite& site, const AnimationSpec& spec);
  void SetActive(bool active) override;
  bool Active() const override { return active_; }
  int starts() const { return starts_; }  // how often it was set going
  const AnimationSpec& spec() const { return spec_; }

 private:
  AnimationSpec spec_;
  bool active_ = false;
  int starts_ = 0;
};

// Picture switching follows the pointer: over shows the hover picture once until the
// pointer leaves, a left press shows the down picture, the release the up picture.
class MemoryImageButton final : public ControlImpl<ImageButton> {
 public:
  MemoryImageButton(const ControlSite& site, const ImageButtonSpec& spec);
  const ImageButtonSpec& spec() const { return spec_; }
  std::string ShownImage() const override { return shown_; }
  void Click() override;
  bool UserPointerMove(Point client);
  bool UserPointerLeave();
  bool UserMouseDown(MouseButton button);
  // A left release over the button completes a click: the click runs, then the up
  // picture shows.
  bool UserMouseUp(MouseButton button);
  // A whole left click: press and release.
  bool UserClick();
  bool pointerOver() const { return over_; }

 private:
  ImageButtonSpec spec_;
  std::string shown_;
  bool over_ = false;
  bool pressed_ = false;
};

class MemoryImage final : public ControlImpl<Control> {
 public:
  MemoryImage(const ControlSite& site, Bounds bounds, std::string picture, Action onClick);
  const std::string& picture() const { return picture_; }
  bool UserClick();

 private:
  std::string picture_;
  Action onClick_;
};

}  // namespace platform
