// Timers and the player's scheduled input on the virtual clock. A timer with interval I
// enabled at t is due at t + I; a tick is due one interval after the previous tick was
// dispatched, so a late tick (its handler or another one ran long) comes once, not as a
// burst of catch-up ticks, as Windows coalesces WM_TIMER. A timer whose handler is
// running is not due again until the handler returns.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/memory/memory_clock.h"
#include "platform/toolkit.h"

namespace platform {

class TimerScheduler {
 public:
  struct Entry {
    int id = 0;
    int intervalMs = 0;
    bool enabled = false;
    std::int64_t dueMs = 0;
    bool running = false;
    bool alive = true;
    bool oneShot = false;  // scheduled input: runs once, then is gone
    Action action;
  };

  explicit TimerScheduler(MemoryClock& clock) : clock_(clock) {}

  std::shared_ptr<Entry> AddTimer(const TimerSpec& spec);
  void AddInput(std::int64_t dueMs, Action action);
  // Restarts the interval from now.
  void Restart(Entry& entry) const { entry.dueMs = clock_.nowMs() + entry.intervalMs; }
  // The earliest due time of anything that can fire, or -1.
  std::int64_t NextDue() const;
  // Dispatches what is due now, earliest first, each entry at most once per call (a
  // handler that sleeps past its own interval would otherwise never let go).
  int FireDue();
  int ticks() const { return ticks_; }
  // Runs every timer tick (not scheduled input); the toolkit guards its handlers here.
  void SetTickRunner(std::function<void(const Action&)> runner) { runner_ = std::move(runner); }

 private:
  bool Eligible(const Entry& e) const;

  MemoryClock& clock_;
  std::vector<std::shared_ptr<Entry>> entries_;
  int nextId_ = 1;
  int ticks_ = 0;
  std::function<void(const Action&)> runner_;
};

class MemoryTimer final : public Timer {
 public:
  MemoryTimer(TimerScheduler& scheduler, std::shared_ptr<TimerScheduler::Entry> entry)
      : scheduler_(scheduler), entry_(std::move(entry)) {}
  ~MemoryTimer() override { entry_->alive = false; }
  // Enabling a stopped timer starts a fresh interval; enabling a running one changes
  // nothing.
  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return entry_->enabled; }
  // A new interval restarts a running timer.
  void SetInterval(int ms) override;
  int Interval() const override { return entry_->intervalMs; }
  void SetOnTimer(Action onTimer) override { entry_->action = std::move(onTimer); }
  // When the next tick is due, or -1 when none is coming.
  std::int64_t DueMs() const;

 private:
  TimerScheduler& scheduler_;
  std::shared_ptr<TimerScheduler::Entry> entry_;
};

}  // namespace platform
