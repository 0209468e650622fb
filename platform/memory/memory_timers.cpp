#include "platform/memory/memory_timers.h"

#include <algorithm>
#include <set>

namespace platform {

std::shared_ptr<TimerScheduler::Entry> TimerScheduler::AddTimer(const TimerSpec& spec) {
  auto entry = std::make_shared<Entry>();
  entry->id = nextId_++;
  entry->intervalMs = spec.intervalMs;
  entry->enabled = spec.enabled;
  entry->action = spec.onTimer;
  Restart(*entry);
  entries_.push_back(entry);
  return entry;
}

void TimerScheduler::AddInput(std::int64_t dueMs, Action action) {
  auto entry = std::make_shared<Entry>();
  entry->id = nextId_++;
  entry->enabled = true;
  entry->oneShot = true;
  entry->dueMs = dueMs;
  entry->action = std::move(action);
  entries_.push_back(std::move(entry));
}

bool TimerScheduler::Eligible(const Entry& e) const {
  // A timer of interval 0 or without a handler is never set going by the real toolkit.
  return e.alive && e.enabled && !e.running && e.action && (e.oneShot || e.intervalMs > 0);
}

std::int64_t TimerScheduler::NextDue() const {
  std::int64_t next = -1;
  for (const auto& e : entries_) {
    if (Eligible(*e) && (next < 0 || e->dueMs < next)) next = e->dueMs;
  }
  return next;
}

int TimerScheduler::FireDue() {
  std::set<int> fired;
  int count = 0;
  for (;;) {
    std::shared_ptr<Entry> pick;
    for (const auto& e : entries_) {
      if (!Eligible(*e) || e->dueMs > clock_.nowMs() || fired.count(e->id)) continue;
      if (!pick || e->dueMs < pick->dueMs) pick = e;  // ties: the older one first
    }
    if (!pick) break;
    fired.insert(pick->id);
    ++count;
    ++ticks_;
    Action action = pick->action;
    if (pick->oneShot) {
      pick->alive = false;
    } else {
      Restart(*pick);
    }
    pick->running = true;
    struct Done {
      Entry& e;
      ~Done() { e.running = false; }
    } done{*pick};
    if (runner_ && !pick->oneShot)
      runner_(action);
    else
      action();
  }
  std::erase_if(entries_, [](const auto& e) { return !e->alive; });
  return count;
}

void MemoryTimer::SetEnabled(bool enabled) {
  if (enabled == entry_->enabled) return;
  entry_->enabled = enabled;
  if (enabled) scheduler_.Restart(*entry_);
}

void MemoryTimer::SetInterval(int ms) {
  if (ms == entry_->intervalMs) return;
  entry_->intervalMs = ms;
  if (entry_->enabled) scheduler_.Restart(*entry_);
}

std::int64_t MemoryTimer::DueMs() const {
  if (!entry_->enabled || entry_->intervalMs <= 0 || !entry_->action) return -1;
  return entry_->dueMs;
}

}  // namespace platform
