// The window toolkit on Win32: real windows and common controls, one user-interface
// thread. Forms and timers it creates must be destroyed before it.
#pragma once

#include <memory>
#include <string>

#include "platform/system.h"
#include "platform/toolkit.h"
#include "platform/win32/win32_timers.h"
#include "platform/win32/win32_ui.h"

namespace platform::win32 {

class Win32Toolkit final : public Toolkit {
 public:
  // The toolkit's windows show `cursor`'s shape while it is not the default.
  explicit Win32Toolkit(const Cursor& cursor);

  void SetApplicationTitle(const std::string& title) override;
  std::unique_ptr<Form> CreateForm(const FormSpec& spec, Action onClose = {}) override;
  std::unique_ptr<Timer> CreateTimer(const TimerSpec& spec) override;
  MessageAnswer ShowMessage(MessageKind kind, const std::string& text) override;
  std::string InputBox(const std::string& title, const std::string& prompt,
                       const std::string& text) override;
  std::string ShowOpenDialog(const OpenDialogSpec& spec) override;
  void ProcessMessages() override;
  // Shows the main form if it is hidden; returns once it has closed or, after
  // Terminate, once the handler that asked has returned to this loop.
  void Run(Form& mainForm) override;
  // Only sets a flag: a posted quit message would end a message box the handler still
  // has open.
  void Terminate() override;

 private:
  UiState ui_;
  TimerWindow timers_;
};

}  // namespace platform::win32
