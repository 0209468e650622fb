#include "platform/memory/memory_clock.h"

#include <algorithm>
#include <utility>

namespace platform {

namespace {

constexpr double MsPerDay = 86400000.0;

// Days from 1970-01-01 to a civil date (proleptic Gregorian calendar).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

}  // namespace

DateTime MemoryClock::Encode(int year, int month, int day, int hour, int minute, int second,
                             int millisecond) {
  // 1899-12-30 is day 0 of the DateTime scale.
  const std::int64_t days = DaysFromCivil(year, month, day) - DaysFromCivil(1899, 12, 30);
  const double ms = ((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond;
  return static_cast<double>(days) + ms / MsPerDay;
}

DateTime MemoryClock::DefaultStart() { return Encode(2026, 12, 9, 10, 0, 0); }

DateTime MemoryClock::Now() { return start_ + static_cast<double>(nowMs_) / MsPerDay; }

void MemoryClock::SetNow(DateTime now) { start_ = now - static_cast<double>(nowMs_) / MsPerDay; }

void MemoryClock::Sleep(int ms) {
  ms = std::max(ms, 0);
  sleeps_.push_back({nowMs_, ms});
  if (otherProcesses_) otherProcesses_();
  AdvanceBy(ms);
}

void MemoryClock::AdvanceTo(std::int64_t ms) {
  while (!background_.empty() && background_.begin()->first.first <= ms) {
    auto node = background_.extract(background_.begin());
    nowMs_ = std::max(nowMs_, node.key().first);
    node.mapped()();
  }
  nowMs_ = std::max(nowMs_, ms);
}

int MemoryClock::ScheduleAt(std::int64_t dueMs, std::function<void()> work) {
  const int id = nextId_++;
  background_.emplace(std::make_pair(dueMs, id), std::move(work));
  return id;
}

void MemoryClock::Cancel(int id) {
  std::erase_if(background_, [id](const auto& entry) { return entry.first.second == id; });
}

std::int64_t MemoryClock::NextBackgroundDue() const {
  return background_.empty() ? -1 : background_.begin()->first.first;
}

std::int64_t MemoryClock::TotalSleptMs() const {
  std::int64_t total = 0;
  for (const auto& s : sleeps_) total += s.ms;
  return total;
}

}  // namespace platform
