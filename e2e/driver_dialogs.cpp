// Message boxes and the open-file dialog of another process.
#include "e2e/driver.h"

namespace e2e {

namespace {

constexpr const char* DialogClass = "#32770";
constexpr int MessageTextId = 0xFFFF;
constexpr int FileNameComboId = 0x47c;  // cmb13 of the explorer-style dialog
constexpr int FileNameEditId = 0x480;   // edt1 of the old-style dialog

}  // namespace

bool IsMessageBox(HWND window) {
  return ClassOf(window) == DialogClass && GetDlgItem(window, MessageTextId) &&
         !GetDlgItem(window, FileNameComboId) && !GetDlgItem(window, FileNameEditId);
}

std::optional<MessageBoxView> FindMessageBox(DWORD processId) {
  HWND box = FindTopLevel(processId, IsMessageBox);
  if (!box) return std::nullopt;
  return MessageBoxView{box, TextOf(box), TextOf(GetDlgItem(box, MessageTextId))};
}

MessageBoxView WaitForMessageBox(DWORD processId, const std::string& title, DWORD timeoutMs) {
  HWND box = WaitForTopLevel(
      processId, [&](HWND w) { return IsMessageBox(w) && TextOf(w) == title; },
      "a message box titled '" + title + "'", timeoutMs);
  return MessageBoxView{box, title, TextOf(GetDlgItem(box, MessageTextId))};
}

void Answer(const MessageBoxView& box, const std::string& button, DWORD timeoutMs) {
  HWND target = FindChild(box.window, "Button", button);
  if (!target) throw DriverError("the box '" + box.text + "' has no button '" + button + "'");
  // Posted: the box's owner may open the next modal window from the answer.
  PostClick(target);
  WaitUntilGone(box.window, "the box '" + box.text + "'", timeoutMs);
}

void ChooseFileInOpenDialog(DWORD processId, const std::string& title, const std::string& path,
                            DWORD timeoutMs) {
  HWND dialog = WaitForTopLevel(
      processId, [&](HWND w) { return ClassOf(w) == DialogClass && TextOf(w) == title; },
      "the open dialog '" + title + "'", timeoutMs);
  HWND name = GetDlgItem(dialog, FileNameComboId);
  if (!name) name = GetDlgItem(dialog, FileNameEditId);
  if (!name) throw DriverError("the dialog '" + title + "' has no file-name box");
  // The dialog fills in its preset name while it starts: set ours until it stays.
  ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    // Wide: the name may be beyond the code page.
    DWORD_PTR result = 0;
    const std::wstring wide = Wide(path);
    SendMessageTimeoutW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()),
                        SMTO_ABORTIFHUNG, 5000, &result);
    Pump(100);
    if (WideTextOf(name) == path) break;
    if (GetTickCount64() >= deadline)
      throw DriverError("the file-name box of '" + title + "' does not keep " + path);
  }
  HWND ok = GetDlgItem(dialog, IDOK);
  if (!ok) throw DriverError("the dialog '" + title + "' has no OK button");
  PostClick(ok);
  WaitUntilGone(dialog, "the open dialog '" + title + "'", timeoutMs);
}

}  // namespace e2e
