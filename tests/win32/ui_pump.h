// Helpers for the tests of the window toolkit: pumping with a generous bound, and a
// timer that acts on a window of a modal loop once it appears.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/toolkit.h"

namespace ui_pump {

// Handles messages until `done` holds or about ten seconds have passed.
inline bool PumpUntil(platform::Toolkit& toolkit, const std::function<bool()>& done,
                      DWORD boundMs = 10000) {
  ULONGLONG start = GetTickCount64();
  for (;;) {
    toolkit.ProcessMessages();
    if (done()) return true;
    if (GetTickCount64() - start > boundMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

// Looks every 50 ms for a top-level window of this thread with the class and title,
// and runs `act` on it once.
class WhenShown {
 public:
  WhenShown(platform::Toolkit& toolkit, std::string windowClass, std::string title,
            std::function<void(HWND)> act)
      : windowClass_(std::move(windowClass)), title_(std::move(title)), act_(std::move(act)) {
    platform::TimerSpec spec;
    spec.intervalMs = 50;
    spec.onTimer = [this] { Look(); };
    timer_ = toolkit.CreateTimer(spec);
  }

  bool acted() const { return acted_; }

 private:
  void Look() {
    if (acted_) return;
    HWND window = FindWindowA(windowClass_.c_str(), title_.c_str());
    if (!window || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return;
    acted_ = true;
    timer_->SetEnabled(false);
    act_(window);
  }

  std::string windowClass_;
  std::string title_;
  std::function<void(HWND)> act_;
  std::unique_ptr<platform::Timer> timer_;
  bool acted_ = false;
};

inline HWND ToHwnd(platform::WindowHandle handle) { return reinterpret_cast<HWND>(handle); }

}  // namespace ui_pump
