#include "platform/win32/win32_menus.h"

#include <string>

namespace platform::win32 {

namespace {

// Where an entry sits: items by command id in their drop-down menu, top-level entries
// by position in the bar (a drop-down's entry is addressed by its submenu otherwise).
struct Locator {
  HMENU menu;
  UINT item;
  bool byPosition;
  UINT Flag() const { return byPosition ? MF_BYPOSITION : MF_BYCOMMAND; }
};

std::string EntryCaption(const Locator& at) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  if (!GetMenuItemInfoA(at.menu, at.item, at.byPosition, &info) || info.cch == 0) return {};
  std::string text(info.cch + 1, '\0');
  info.dwTypeData = text.data();
  info.cch += 1;
  if (!GetMenuItemInfoA(at.menu, at.item, at.byPosition, &info)) return {};
  text.resize(info.cch);
  return text;
}

template <class Interface>
class MenuEntry : public Interface {
 public:
  MenuEntry(MenuBar& bar, Locator at, Action onClick)
      : bar_(bar), at_(at), onClick_(std::move(onClick)) {}

  void SetCaption(const std::string& caption) override {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<char*>(caption.c_str());
    SetMenuItemInfoA(at_.menu, at_.item, at_.byPosition, &info);
    Changed();
  }
  std::string Caption() const override { return EntryCaption(at_); }

  void SetEnabled(bool enabled) override {
    EnableMenuItem(at_.menu, at_.item, at_.Flag() | (enabled ? MF_ENABLED : MF_GRAYED));
    Changed();
  }
  bool Enabled() const override {
    UINT state = GetMenuState(at_.menu, at_.item, at_.Flag());
    return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
  }

  void SetChecked(bool checked) override {
    CheckMenuItem(at_.menu, at_.item, at_.Flag() | (checked ? MF_CHECKED : MF_UNCHECKED));
    Changed();
  }
  bool Checked() const override {
    UINT state = GetMenuState(at_.menu, at_.item, at_.Flag());
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED);
  }

  // As choosing it would: a greyed entry does nothing.
  void Click() override {
    if (!this->Enabled()) return;
    Action handler = onClick_;  // the handler may destroy the form and this entry
    if (handler) handler();
  }

  void SetOnClick(Action onClick) override { onClick_ = std::move(onClick); }

 protected:
  // The bar shows its own entries' changes only when redrawn.
  void Changed() {
    if (at_.byPosition) bar_.Redraw();
  }

  MenuBar& bar_;
  Locator at_;
  Action onClick_;
};

class MenuItemImpl final : public MenuEntry<MenuItem> {
 public:
  using MenuEntry::MenuEntry;
};

// A separator is listed among the items, as the in-memory menu lists it; choosing it
// does nothing.
class SeparatorItem final : public MenuEntry<MenuItem> {
 public:
  using MenuEntry::MenuEntry;
  std::string Caption() const override { return "-"; }
  void SetCaption(const std::string&) override {}
};

}  // namespace

// A top-level entry; it becomes a drop-down menu with its first item.
class TopMenu final : public MenuEntry<Menu> {
 public:
  TopMenu(MenuBar& bar, UINT position, Action onPopup, Action onClick)
      : MenuEntry(bar, Locator{bar.bar(), position, true}, std::move(onClick)),
        onPopup_(std::move(onPopup)) {}

  MenuItem& AddItem(const MenuItemSpec& spec) override {
    EnsurePopup();
    UINT id = bar_.NewId();
    AppendMenuA(popup_, MF_STRING | (spec.checked ? MF_CHECKED : MF_UNCHECKED), id,
                spec.caption.c_str());
    auto item = std::make_unique<MenuItemImpl>(bar_, Locator{popup_, id, false}, spec.onClick);
    bar_.Enrol(id, item.get());
    items_.push_back(std::move(item));
    return *items_.back();
  }

  void AddSeparator() override {
    EnsurePopup();
    const UINT id = bar_.NewId();  // an id of its own, so that it can be found
    AppendMenuA(popup_, MF_SEPARATOR, id, nullptr);
    items_.push_back(std::make_unique<SeparatorItem>(bar_, Locator{popup_, id, false}, nullptr));
  }

  std::vector<MenuItem*> Items() const override {
    std::vector<MenuItem*> items;
    for (const auto& item : items_) items.push_back(item.get());
    return items;
  }

  // Choosing a drop-down opens it; choosing a lone entry runs its handler.
  void Click() override {
    if (!this->Enabled()) return;
    Action handler = popup_ ? onPopup_ : onClick_;
    if (handler) handler();
  }

  HMENU popup() const { return popup_; }
  void Opening() {
    Action handler = onPopup_;
    if (handler) handler();
  }

 private:
  void EnsurePopup() {
    if (popup_) return;
    popup_ = CreatePopupMenu();
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_SUBMENU;
    info.hSubMenu = popup_;
    SetMenuItemInfoA(at_.menu, at_.item, TRUE, &info);
    bar_.Redraw();
  }

  Action onPopup_;
  HMENU popup_ = nullptr;
  std::vector<std::unique_ptr<MenuItem>> items_;
};

MenuBar::MenuBar(HWND form, std::function<int()> nextId)
    : form_(form), nextId_(std::move(nextId)) {}

// The bar and its drop-downs go with the form's window.
MenuBar::~MenuBar() = default;

Menu& MenuBar::Add(const std::string& caption, Action onPopup, Action onClick) {
  if (!bar_) {
    bar_ = CreateMenu();
    SetMenu(form_, bar_);
  }
  auto position = static_cast<UINT>(GetMenuItemCount(bar_));
  UINT id = NewId();
  AppendMenuA(bar_, MF_STRING, id, caption.c_str());
  menus_.push_back(
      std::make_unique<TopMenu>(*this, position, std::move(onPopup), std::move(onClick)));
  Enrol(id, menus_.back().get());
  Redraw();
  return *menus_.back();
}

bool MenuBar::OnCommand(UINT id) {
  auto found = commands_.find(id);
  if (found == commands_.end()) return false;
  found->second->Click();
  return true;
}

bool MenuBar::OnInitPopup(HMENU popup) {
  for (auto& menu : menus_) {
    if (menu->popup() == popup) {
      menu->Opening();
      return true;
    }
  }
  return false;
}

}  // namespace platform::win32
