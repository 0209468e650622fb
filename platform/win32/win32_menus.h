// A form's menu bar: drop-down menus and their items as real menus, state read back
// from the menu itself.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/toolkit.h"

namespace platform::win32 {

class TopMenu;

class MenuBar {
 public:
  // `nextId` hands out command ids unique on the form.
  MenuBar(HWND form, std::function<int()> nextId);
  ~MenuBar();
  MenuBar(const MenuBar&) = delete;
  MenuBar& operator=(const MenuBar&) = delete;

  // Attaches the bar to the form on first use.
  Menu& Add(const std::string& caption, Action onPopup, Action onClick);
  bool HasMenu() const { return bar_ != nullptr; }

  // WM_COMMAND from a menu, WM_INITMENUPOPUP; true when the id or popup was ours.
  bool OnCommand(UINT id);
  bool OnInitPopup(HMENU popup);

  // Used by the entries.
  UINT NewId() { return static_cast<UINT>(nextId_()); }
  void Enrol(UINT id, MenuItem* item) { commands_[id] = item; }
  void Redraw() const { DrawMenuBar(form_); }
  HMENU bar() const { return bar_; }

 private:
  HWND form_;
  std::function<int()> nextId_;
  HMENU bar_ = nullptr;
  std::vector<std::unique_ptr<TopMenu>> menus_;
  std::unordered_map<UINT, MenuItem*> commands_;
};

}  // namespace platform::win32
