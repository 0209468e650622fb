// The modal boxes: message boxes, the text input box and the open-file dialog.
#pragma once

#include <string>

#include "platform/toolkit.h"
#include "platform/win32/win32_ui.h"

namespace platform::win32 {

MessageAnswer ShowMessageBox(MessageKind kind, const std::string& text);

std::string ShowInputBox(UiState& ui, const std::string& title, const std::string& prompt,
                         const std::string& text);

std::string ShowOpenFileDialog(const OpenDialogSpec& spec);

// "Executable|*.exe" as the dialog wants it: "Executable\0*.exe\0\0".
std::string DialogFilter(const std::string& filter);

}  // namespace platform::win32
