// A text closed under a 32-byte key: enciphered with a key stream of its own (a fresh
// random nonce each time, so no two boxes share a stream even for the same text and
// key) and sealed by a tag, so a box opens only with its key and only unchanged.
//
// The stream is HMAC-SHA256 of the nonce and a block counter under a key derived for
// enciphering, the tag the first 16 bytes of HMAC-SHA256 of nonce and cipher text under
// a key derived for tagging. A box is 32 bytes longer than its text.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/secure_wipe.h"
#include "platform/sha256.h"
#include "platform/system.h"

// A key, wiped when it goes.
class BoxKey {
 public:
  static constexpr std::size_t Size = 32;

  explicit BoxKey(const platform::Sha256Digest& bytes) : bytes_(bytes) {}
  BoxKey(const BoxKey&) = default;
  BoxKey& operator=(const BoxKey&) = default;
  ~BoxKey() { SecureZero(bytes_.data(), bytes_.size()); }

  std::string_view view() const {
    return {reinterpret_cast<const char*>(bytes_.data()), bytes_.size()};
  }
  bool operator==(const BoxKey& other) const { return bytes_ == other.bytes_; }

  // A key drawn afresh.
  static BoxKey Drawn(platform::Random& random);
  // The key kept in `bytes` (Size bytes), or nullopt for another length.
  static std::optional<BoxKey> From(std::string_view bytes);

 private:
  platform::Sha256Digest bytes_;
};

// `count` bytes drawn afresh.
std::string RandomBytes(platform::Random& random, std::size_t count);

std::string CloseBox(platform::Random& random, const BoxKey& key, std::string_view plain);
// The text, or nullopt when the box was closed under another key or was changed.
std::optional<std::string> OpenBox(const BoxKey& key, std::string_view box);

// Equal texts, compared in a time that does not depend on where they differ.
bool SameBytes(std::string_view a, std::string_view b);
