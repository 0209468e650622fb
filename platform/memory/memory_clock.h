// Virtual time for the host tests. Nothing waits: time moves only when the program
// sleeps or a test driver advances it. Other simulated processes run their scheduled
// work as time passes, whatever the program's own thread is doing.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "platform/clock.h"

namespace platform {

class MemoryClock : public Clock {
 public:
  struct SleepRecord {
    std::int64_t atMs;  // virtual time when the sleep began
    int ms;
  };

  // 2026-12-09 10:00:00 local time.
  static DateTime DefaultStart();
  // Days since 1899-12-30 for a calendar date and time of day.
  static DateTime Encode(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                         int millisecond = 0);

  explicit MemoryClock(DateTime start = DefaultStart()) : start_(start) {}

  DateTime Now() override;
  // Lets other processes handle what was posted to them, then moves time on.
  // Negative times count as 0 (the real call would take them as "forever").
  void Sleep(int ms) override;

  // Milliseconds of virtual time since the clock was made.
  std::int64_t nowMs() const { return nowMs_; }
  // Makes Now() read `now` from here on; virtual milliseconds keep counting.
  void SetNow(DateTime now);

  // Moves time forward to `ms` (nothing happens for a time already past), running
  // the background work that falls due on the way, each at its own due time.
  void AdvanceTo(std::int64_t ms);
  void AdvanceBy(std::int64_t ms) { AdvanceTo(nowMs_ + ms); }

  // Work of another process at a virtual time; returns an id for Cancel. Work due now
  // or earlier runs at the next advance.
  int ScheduleAt(std::int64_t dueMs, std::function<void()> work);
  void Cancel(int id);
  // The earliest scheduled background work, or -1 when there is none.
  std::int64_t NextBackgroundDue() const;

  // Runs at the start of every Sleep: the other processes get the processor.
  void SetOtherProcesses(std::function<void()> run) { otherProcesses_ = std::move(run); }

  const std::vector<SleepRecord>& sleeps() const { return sleeps_; }
  // The sum of every sleep so far.
  std::int64_t TotalSleptMs() const;

 private:
  DateTime start_;
  std::int64_t nowMs_ = 0;
  std::vector<SleepRecord> sleeps_;
  // Keyed by due time, then by id, so equal times run in scheduling order.
  std::map<std::pair<std::int64_t, int>, std::function<void()>> background_;
  int nextId_ = 1;
  std::function<void()> otherProcesses_;
};

}  // namespace platform
