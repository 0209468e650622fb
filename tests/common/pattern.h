// Deterministic pseudo-random bytes for tests that need a large file whose checksum
// both the host and Windows builds know: xorshift32 from a fixed seed, the low byte
// of the state after each step.
#pragma once

#include <cstddef>
#include <cstdint>

namespace test_pattern {

inline constexpr std::size_t LargeFileSize = std::size_t{64} << 20;
// The checksum of the first LargeFileSize pattern bytes, computed once by a plain
// pairwise loop.
inline constexpr std::uint16_t LargeFileChecksum = 0xC98C;

class PatternBytes {
 public:
  unsigned char Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<unsigned char>(state_);
  }
  void Fill(unsigned char* out, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) out[i] = Next();
  }

 private:
  std::uint32_t state_ = 0x9E3779B9u;
};

}  // namespace test_pattern
