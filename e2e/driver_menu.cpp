// Choosing a menu item of another process's window.
#include <cctype>

#include "e2e/driver.h"

namespace e2e {

namespace {

constexpr const char* PopupMenuClass = "#32768";
// How long a chosen item's popup may stay open before the choice counts as failed.
constexpr DWORD PopupCloseMs = 3000;

std::string MenuString(HMENU menu, int position) {
  char text[256] = "";
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

int FindItem(HMENU menu, const std::string& caption) {
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i)
    if (MenuString(menu, i) == caption) return i;
  throw DriverError("no menu item '" + caption + "'");
}

// The letter after the single "&" ("&&" is a literal ampersand); 0 if there is none.
char AccessKey(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i + 1])));
  }
  return 0;
}

HWND OpenPopup(DWORD processId) {
  return FindTopLevel(processId, [](HWND w) { return ClassOf(w) == PopupMenuClass; });
}

void WalkMenu(HWND window, HMENU bar, const std::vector<MenuStep>& path) {
  int top = FindItem(bar, path[0].caption);
  UINT id = GetMenuItemID(bar, top);
  if (path.size() == 2) {
    HMENU popup = GetSubMenu(bar, top);
    if (!popup) throw DriverError("'" + path[0].caption + "' has no popup");
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup),
                        MAKELPARAM(top, FALSE), SMTO_ABORTIFHUNG, 5000, &result);
    int item = FindItem(popup, path[1].caption);
    if (GetMenuState(popup, item, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED))
      throw DriverError("menu item '" + path[1].caption + "' is greyed");
    id = GetMenuItemID(popup, item);
  }
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

// Escape twice closes the popup and leaves the menu bar.
void CloseMenu(HWND window, HWND popup) {
  PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
  PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
  try {
    WaitUntilGone(popup, "the popup", PopupCloseMs);
  } catch (const DriverError&) {
  }
}

void KeyboardMenu(HWND window, const std::vector<MenuStep>& path, DWORD timeoutMs) {
  const DWORD processId = ProcessOf(window);
  char top = AccessKey(path[0].caption);
  if (!top) throw DriverError("menu '" + path[0].caption + "' has no access key");
  const MenuStep* item = path.size() == 2 ? &path[1] : nullptr;
  char key = item ? AccessKey(item->caption) : 0;
  if (item && !key && item->position < 0)
    throw DriverError("menu item '" + item->caption + "' has no access key and no position");
  if (HWND stale = OpenPopup(processId)) {
    CloseMenu(window, stale);
    if (IsWindowVisible(stale)) throw DriverError("a menu of the program stays open");
  }

  PostMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, top);
  if (!item) return;
  HWND popup = WaitForTopLevel(
      processId, [](HWND w) { return ClassOf(w) == PopupMenuClass; },
      "the popup of '" + path[0].caption + "'", timeoutMs);
  // The menu loop reads every keyboard message of the thread, posted ones included; a
  // keyboard-opened popup starts with its first item selected.
  if (key) {
    PostMessageA(window, WM_CHAR, key, 0);
  } else {
    for (int i = 0; i < item->position; ++i) PostMessageA(window, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(window, WM_KEYDOWN, VK_RETURN, 0);
  }
  // A chosen item closes the popup; a key that matches nothing leaves it open.
  try {
    WaitUntilGone(popup, "the popup of '" + path[0].caption + "'", PopupCloseMs);
  } catch (const DriverError&) {
    CloseMenu(window, popup);
    throw DriverError("menu item '" + item->caption + "' was not chosen: no such item");
  }
}

}  // namespace

void ChooseMenu(HWND window, const std::vector<MenuStep>& path, DWORD timeoutMs) {
  if (path.empty() || path.size() > 2) throw DriverError("a menu path has one or two steps");
  HMENU bar = GetMenu(window);
  // Under Wine a menu cannot be read from another process: the count comes back as -1.
  if (bar && GetMenuItemCount(bar) > 0)
    WalkMenu(window, bar, path);
  else
    KeyboardMenu(window, path, timeoutMs);
}

}  // namespace e2e
