#include "platform/win32/win32_timers.h"

#include <utility>

#include "platform/win32/win32_ui.h"

namespace platform::win32 {

TimerWindow::TimerWindow(HINSTANCE instance) {
  WNDCLASSEXA timers{};
  timers.cbSize = sizeof timers;
  timers.lpfnWndProc = Proc;
  timers.hInstance = instance;
  timers.lpszClassName = TimerWindowClass;
  RegisterClassExA(&timers);
  window_ = CreateWindowExA(0, TimerWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                            nullptr);
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TimerWindow::~TimerWindow() {
  if (window_) DestroyWindow(window_);
}

std::unique_ptr<Timer> TimerWindow::Create(const TimerSpec& spec) {
  return std::make_unique<Win32Timer>(*this, spec);
}

UINT_PTR TimerWindow::Start(Win32Timer& timer, int intervalMs) {
  UINT_PTR id = nextId_++;
  if (!SetTimer(window_, id, static_cast<UINT>(intervalMs), nullptr)) return 0;
  running_[id] = &timer;
  return id;
}

void TimerWindow::Stop(UINT_PTR id) {
  if (id == 0) return;
  KillTimer(window_, id);
  running_.erase(id);
}

LRESULT CALLBACK TimerWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    auto* self = reinterpret_cast<TimerWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self) {
      auto found = self->running_.find(static_cast<UINT_PTR>(wParam));
      if (found != self->running_.end()) {
        Win32Timer* timer = found->second;
        RunGuarded([timer] {
          timer->Tick();
          return LRESULT{0};
        });
      }
    }
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

Win32Timer::Win32Timer(TimerWindow& window, const TimerSpec& spec)
    : window_(window), interval_(spec.intervalMs), enabled_(spec.enabled), onTimer_(spec.onTimer) {
  if (enabled_) Restart();
}

Win32Timer::~Win32Timer() { window_.Stop(id_); }

void Win32Timer::SetEnabled(bool enabled) {
  // A running timer goes on: enabling it again must not push its next tick back.
  if (enabled && enabled_) return;
  enabled_ = enabled;
  if (enabled)
    Restart();
  else
    window_.Stop(std::exchange(id_, 0));
}

void Win32Timer::SetInterval(int ms) {
  interval_ = ms;
  if (enabled_) Restart();
}

// An interval of zero or less never ticks, though the timer counts as enabled.
void Win32Timer::Restart() {
  window_.Stop(std::exchange(id_, 0));
  if (interval_ > 0) id_ = window_.Start(*this, interval_);
}

void Win32Timer::Tick() {
  Action handler = onTimer_;  // the handler may destroy this timer
  if (handler) handler();
}

}  // namespace platform::win32
