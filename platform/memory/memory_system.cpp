#include "platform/memory/memory_system.h"

namespace platform {

std::optional<std::uint32_t> MemoryVolume::SystemSerial() {
  ++queries_;
  return serial_;
}

void MemoryCursor::Set(CursorShape shape) {
  current_ = shape;
  journal_.push_back(shape);
}

void MemoryRandom::Script(std::vector<std::uint32_t> values) {
  script_.insert(script_.end(), values.begin(), values.end());
}

// splitmix64: tiny, well mixed, and the same everywhere.
std::uint64_t MemoryRandom::Next64() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

std::uint32_t MemoryRandom::Below(std::uint32_t bound) {
  bounds_.push_back(bound);
  if (bound == 0) return 0;
  if (!script_.empty()) {
    std::uint32_t v = script_.front();
    script_.pop_front();
    return v % bound;
  }
  // Rejection keeps the draw uniform for bounds that do not divide 2^32.
  const std::uint32_t limit = static_cast<std::uint32_t>(-bound) % bound;  // 2^32 mod bound
  while (true) {
    std::uint32_t x = static_cast<std::uint32_t>(Next64() >> 32);
    if (x >= limit) return x % bound;
  }
}

}  // namespace platform
