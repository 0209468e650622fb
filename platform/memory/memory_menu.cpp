#include "platform/memory/memory_menu.h"

#include <utility>

#include "platform/memory/memory_ui.h"

namespace platform {

MemoryMenuItem::MemoryMenuItem(MemoryUi& ui, const MenuItemSpec& spec, bool separator)
    : ui_(ui), onClick_(spec.onClick), separator_(separator) {
  caption_ = spec.caption;
  checked_ = spec.checked;
}

void MemoryMenuItem::Click() {
  if (!enabled_ || separator_) return;
  ui_.RunHandler(onClick_);
}

MemoryMenu::MemoryMenu(MemoryUi& ui, const std::string& caption, Action onPopup, Action onClick)
    : ui_(ui), onPopup_(std::move(onPopup)), onClick_(std::move(onClick)) {
  caption_ = caption;
}

MenuItem& MemoryMenu::AddItem(const MenuItemSpec& spec) {
  items_.push_back(std::make_unique<MemoryMenuItem>(ui_, spec));
  return *items_.back();
}

void MemoryMenu::AddSeparator() {
  MenuItemSpec separator;
  separator.caption = "-";
  items_.push_back(std::make_unique<MemoryMenuItem>(ui_, separator, true));
}

std::vector<MenuItem*> MemoryMenu::Items() const {
  std::vector<MenuItem*> items;
  for (const auto& item : items_) items.push_back(item.get());
  return items;
}

// Choosing a drop-down opens it, as under Win32; a lone entry runs its handler.
void MemoryMenu::Click() {
  if (!enabled_) return;
  if (!items_.empty()) return Popup();
  ui_.RunHandler(onClick_);
}

void MemoryMenu::Popup() {
  if (!enabled_) return;
  ++popups_;
  ui_.RunHandler(onPopup_);
}

MemoryMenuItem* MemoryMenu::Item(const std::string& caption) const {
  for (const auto& item : items_) {
    if (!item->separator() && item->Caption() == caption) return item.get();
  }
  return nullptr;
}

}  // namespace platform
