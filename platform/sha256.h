// SHA-256, HMAC-SHA256 and PBKDF2-HMAC-SHA256 in portable code, for the seam's backends
// and the program's keyed boxes alike.
//
// The block function uses the processor's SHA instructions where it has them and plain
// code otherwise; both give the standard's results. The password derivation is the
// expensive step of every utility password prompt, so it keeps the two pad states of
// its HMAC and pays two blocks a round. No function here fails or throws; what it is
// given it keeps only until it returns (its own copies of keys are wiped).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace platform {

using Sha256Digest = std::array<std::uint8_t, 32>;

class Sha256Hasher {
 public:
  Sha256Hasher();
  ~Sha256Hasher();
  Sha256Hasher(const Sha256Hasher&) = default;
  Sha256Hasher& operator=(const Sha256Hasher&) = default;

  void Update(const void* data, std::size_t size);
  void Update(std::string_view bytes) { Update(bytes.data(), bytes.size()); }
  // Ends the computation; the hasher is then spent.
  Sha256Digest Finish();

 private:
  std::uint32_t state_[8];
  std::uint8_t block_[64];
  std::size_t filled_ = 0;
  std::uint64_t length_ = 0;
};

Sha256Digest HmacSha256(std::string_view key, std::string_view message);

// The first 32 bytes of the key PBKDF2 derives from `password` and `salt` in
// `iterations` rounds (RFC 8018, HMAC-SHA256 as its function; at least one round).
Sha256Digest Pbkdf2HmacSha256(std::string_view password, std::string_view salt,
                              std::uint32_t iterations);

// Whether the block function runs on the processor's SHA instructions.
bool Sha256UsesCpuInstructions();

namespace sha256_detail {
// The block function over whole 64-byte blocks, by the route asked for; the
// instruction route falls back to plain code where the processor lacks it.
enum class Route { Plain, Instructions };
void Compress(std::uint32_t state[8], const std::uint8_t* blocks, std::size_t count, Route route);
}  // namespace sha256_detail

}  // namespace platform
