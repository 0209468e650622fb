// The in-memory menu bar: drop-down menus of items and separators.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/toolkit.h"

namespace platform {

struct MemoryUi;

template <class Interface>
class MenuItemImpl : public Interface {
 public:
  void SetCaption(const std::string& caption) override { caption_ = caption; }
  std::string Caption() const override { return caption_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  bool Enabled() const override { return enabled_; }
  void SetChecked(bool checked) override { checked_ = checked; }
  bool Checked() const override { return checked_; }

 protected:
  std::string caption_;
  bool enabled_ = true;
  bool checked_ = false;
};

class MemoryMenuItem final : public MenuItemImpl<MenuItem> {
 public:
  MemoryMenuItem(MemoryUi& ui, const MenuItemSpec& spec, bool separator = false);
  // A disabled item or a separator cannot be chosen: nothing runs.
  void Click() override;
  void SetOnClick(Action onClick) override { onClick_ = std::move(onClick); }
  bool separator() const { return separator_; }

 private:
  MemoryUi& ui_;
  Action onClick_;
  bool separator_;
};

class MemoryMenu final : public MenuItemImpl<Menu> {
 public:
  MemoryMenu(MemoryUi& ui, const std::string& caption, Action onPopup, Action onClick);
  MenuItem& AddItem(const MenuItemSpec& spec) override;
  // A separator is an item captioned "-" that cannot be chosen.
  void AddSeparator() override;
  std::vector<MenuItem*> Items() const override;
  // Runs the handler of an entry without items; a drop-down menu opens instead.
  void Click() override;
  void SetOnClick(Action onClick) override { onClick_ = std::move(onClick); }
  // Opening the drop-down: runs onPopup.
  void Popup();
  // The first item with this caption, or null.
  MemoryMenuItem* Item(const std::string& caption) const;
  int popups() const { return popups_; }

 private:
  MemoryUi& ui_;
  Action onPopup_;
  Action onClick_;
  std::vector<std::unique_ptr<MemoryMenuItem>> items_;
  int popups_ = 0;
};

}  // namespace platform
