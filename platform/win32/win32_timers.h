// Timers on a hidden message window: the ticks come through whatever message loop is
// running, modal ones and message boxes included.
#pragma once

#include <windows.h>

#include <memory>
#include <unordered_map>

#include "platform/toolkit.h"

namespace platform::win32 {

class Win32Timer;

class TimerWindow {
 public:
  explicit TimerWindow(HINSTANCE instance);
  ~TimerWindow();
  TimerWindow(const TimerWindow&) = delete;
  TimerWindow& operator=(const TimerWindow&) = delete;

  std::unique_ptr<Timer> Create(const TimerSpec& spec);

  // Every start takes a fresh id, so a tick of an earlier start that is still queued
  // finds nobody and is dropped.
  UINT_PTR Start(Win32Timer& timer, int intervalMs);
  void Stop(UINT_PTR id);

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  UINT_PTR nextId_ = 1;
  std::unordered_map<UINT_PTR, Win32Timer*> running_;
};

class Win32Timer final : public Timer {
 public:
  Win32Timer(TimerWindow& window, const TimerSpec& spec);
  ~Win32Timer() override;

  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return enabled_; }
  // A new interval starts counting afresh.
  void SetInterval(int ms) override;
  int Interval() const override { return interval_; }
  void SetOnTimer(Action onTimer) override { onTimer_ = std::move(onTimer); }

  void Tick();

 private:
  void Restart();

  TimerWindow& window_;
  int interval_;
  bool enabled_;
  Action onTimer_;
  UINT_PTR id_ = 0;  // 0: not running
};

}  // namespace platform::win32
