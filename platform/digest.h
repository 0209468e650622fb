// Message digests from the system, for fingerprints that a patch cannot keep equal.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace platform {

using Sha256Digest = std::array<std::uint8_t, 32>;

// One SHA-256 computation: feed the bytes in any number of pieces, then finish once.
class Sha256 {
 public:
  virtual ~Sha256() = default;
  virtual void Update(const void* data, std::size_t size) = 0;
  virtual Sha256Digest Finish() = 0;
};

class Digests {
 public:
  virtual ~Digests() = default;
  // A fresh computation, or nullptr where the system offers none.
  virtual std::unique_ptr<Sha256> NewSha256() = 0;
};

}  // namespace platform
