// Small system services in memory: the volume serial, the cursor and randomness.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/system.h"

namespace platform {

class MemoryVolume : public Volume {
 public:
  // 0x43000000 is what a fresh Wine prefix reports for "C:\".
  static constexpr std::uint32_t DefaultSerial = 0x43000000;

  std::optional<std::uint32_t> SystemSerial() override;
  // nullopt makes the query fail.
  void SetSerial(std::optional<std::uint32_t> serial) { serial_ = serial; }
  int queries() const { return queries_; }

 private:
  std::optional<std::uint32_t> serial_ = DefaultSerial;
  int queries_ = 0;
};

class MemoryCursor : public Cursor {
 public:
  void Set(CursorShape shape) override;
  CursorShape Current() const override { return current_; }
  // Every shape set, in order.
  const std::vector<CursorShape>& journal() const { return journal_; }
  void ClearJournal() { journal_.clear(); }

 private:
  CursorShape current_ = crDefault;
  std::vector<CursorShape> journal_;
};

// Keeps the notes for the tests to read.
class MemoryTrace : public Trace {
 public:
  void Note(const std::string& line) override { lines_.push_back(line); }
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

// Deterministic: the same seed gives the same draws on every platform. Scripted
// values are handed out first, each reduced modulo the bound asked for.
class MemoryRandom : public Random {
 public:
  explicit MemoryRandom(std::uint64_t seed = 1) : state_(seed) {}

  // A bound of 0 (outside the contract) gives 0.
  std::uint32_t Below(std::uint32_t bound) override;
  void Seed(std::uint64_t seed) { state_ = seed; }
  void Script(std::vector<std::uint32_t> values);
  // The bounds asked for, in order.
  const std::vector<std::uint32_t>& bounds() const { return bounds_; }

 private:
  std::uint64_t Next64();

  std::uint64_t state_;
  std::deque<std::uint32_t> script_;
  std::vector<std::uint32_t> bounds_;
};

}  // namespace platform
