#include "platform/win32/win32_toolkit.h"

#include <windows.h>

#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_form.h"

namespace platform::win32 {

Win32Toolkit::Win32Toolkit(const Cursor& cursor) : ui_(cursor), timers_(ui_.instance()) {}

void Win32Toolkit::SetApplicationTitle(const std::string& title) { ui_.applicationTitle = title; }

std::unique_ptr<Form> Win32Toolkit::CreateForm(const FormSpec& spec, Action onClose) {
  return std::make_unique<Win32Form>(ui_, spec, std::move(onClose));
}

std::unique_ptr<Timer> Win32Toolkit::CreateTimer(const TimerSpec& spec) {
  return timers_.Create(spec);
}

MessageAnswer Win32Toolkit::ShowMessage(MessageKind kind, const std::string& text) {
  return ShowMessageBox(kind, text);
}

std::string Win32Toolkit::InputBox(const std::string& title, const std::string& prompt,
                                   const std::string& text) {
  return ShowInputBox(ui_, title, prompt, text);
}

std::string Win32Toolkit::ShowOpenDialog(const OpenDialogSpec& spec) {
  return ShowOpenFileDialog(spec);
}

void Win32Toolkit::ProcessMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ui_.RequestEnd();
      return;
    }
    ui_.Dispatch(message);
  }
}

void Win32Toolkit::Run(Form& mainForm) {
  if (ui_.endRequested()) return;
  if (!mainForm.Showing()) mainForm.Show();
  // Asked of the window, not the form: a handler may destroy the form meanwhile.
  auto window = reinterpret_cast<HWND>(mainForm.Handle());
  MSG message;
  while (!ui_.endRequested() && IsWindow(window) && IsWindowVisible(window)) {
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      ui_.RequestEnd();
      break;
    }
    // An error result (another program's oversized message can cause one) ends
    // nothing: the window is still there, so wait for the next message.
    if (got == -1) {
      WaitMessage();
      continue;
    }
    ui_.Dispatch(message);
  }
}

void Win32Toolkit::Terminate() { ui_.RequestEnd(); }

}  // namespace platform::win32
