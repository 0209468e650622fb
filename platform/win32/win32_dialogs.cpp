#include "platform/win32/win32_dialogs.h"

#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cwchar>
#include <vector>

#include "platform/win32/win32_form.h"
#include "platform/win32/win32_wide.h"

namespace platform::win32 {

MessageAnswer ShowMessageBox(MessageKind kind, const std::string& text) {
  const char* title = "Information";
  UINT style = MB_OK | MB_ICONINFORMATION;
  if (kind == MessageKind::Error) {
    title = "Error";
    style = MB_OK | MB_ICONERROR;
  } else if (kind == MessageKind::Confirmation) {
    title = "Confirm";
    style = MB_YESNO | MB_ICONQUESTION;
  }
  // No owner, so it is centred on the screen; task-modal, so every window of the
  // program is disabled meanwhile.
  int answer = MessageBoxA(nullptr, text.c_str(), title, style | MB_TASKMODAL);
  if (kind != MessageKind::Confirmation) return MessageAnswer::Ok;
  return answer == IDYES ? MessageAnswer::Yes : MessageAnswer::No;
}

std::string ShowInputBox(UiState& ui, const std::string& title, const std::string& prompt,
                         const std::string& text) {
  Win32Form form(ui,
                 {.caption = title,
                  .clientWidth = 340,
                  .clientHeight = 112,
                  .border = BorderStyle::Dialog,
                  .minimizeBox = false,
                  .maximizeBox = false},
                 {});
  form.AddLabel({.bounds = {8, 8, 324, 28}, .caption = prompt, .wordWrap = true});
  Edit& edit = form.AddEdit({.bounds = {8, 40, 324, 21}, .tabOrder = 0});
  edit.SetTextUtf8(text);

  bool accepted = false;
  std::string edited = text;
  form.AddButton({.bounds = {176, 76, 75, 25},
                  .caption = "OK",
                  .tabOrder = 1,
                  .isDefault = true,
                  .onClick = [&] {
                    accepted = true;
                    edited = edit.TextUtf8();
                    form.Close();
                  }});
  form.AddButton({.bounds = {257, 76, 75, 25},
                  .caption = "Cancel",
                  .tabOrder = 2,
                  .onClick = [&] { form.Close(); },
                  .isCancel = true});

  edit.SelectAll();
  form.ShowModal();
  return accepted ? edited : text;
}

std::string DialogFilter(const std::string& filter) {
  if (filter.empty()) return {};
  std::string list = filter;
  std::replace(list.begin(), list.end(), '|', '\0');
  list.append(2, '\0');
  return list;
}

std::string ShowOpenFileDialog(const OpenDialogSpec& spec) {
  // Wide throughout: a folder the code page cannot hold comes back as itself, not "?".
  const std::wstring filter = WideFromUtf8(DialogFilter(spec.filter));
  const std::wstring preset = WideFromUtf8(spec.fileName);
  const std::wstring initialDir = WideFromUtf8(spec.initialDir);
  const std::wstring title = WideFromUtf8(spec.title);
  const std::wstring defaultExt = WideFromUtf8(spec.defaultExt);
  std::vector<wchar_t> file(std::max<size_t>(32768, preset.size() + 1), L'\0');
  std::copy(preset.begin(), preset.end(), file.begin());

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = GetActiveWindow();  // modal to the program's active window
  dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
  dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
  dialog.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY;
  // After a failure the buffer may hold an error size instead of a name: keep the preset.
  if (!GetOpenFileNameW(&dialog)) return spec.fileName;
  return Utf8FromWide(file.data(), std::wcslen(file.data()));
}

}  // namespace platform::win32
