#include "lock/password_verifier.h"

#include <utility>

#include "core/sealing.h"
#include "core/secure_wipe.h"
#include "platform/sha256.h"

namespace {

// No typed text starts with a zero byte, so no old form looks like this.
constexpr std::string_view Marker("\0QV1", 4);
constexpr std::size_t SaltSize = 16;
constexpr std::size_t CheckSize = 32;
// A stored count above this is damage, not a stronger verifier: it would hang the prompt.
constexpr std::uint32_t MostRounds = 20000000;

std::string AsText(const platform::Sha256Digest& digest) {
  return std::string(reinterpret_cast<const char*>(digest.data()), digest.size());
}

void PutRounds(std::string& out, std::uint32_t rounds) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(rounds >> shift);
}

std::uint32_t GetRounds(std::string_view bytes) {
  std::uint32_t rounds = 0;
  for (char byte : bytes) rounds = rounds << 8 | static_cast<unsigned char>(byte);
  return rounds;
}

// What the password gives: the check value and the key of the lock key's box.
struct Derived {
  Secret check;
  BoxKey boxKey;
};

Derived Derive(std::string_view typedUtf8, std::string_view salt, std::uint32_t rounds) {
  const Secret derived(AsText(platform::Pbkdf2HmacSha256(typedUtf8, salt, rounds)));
  return {Secret(AsText(platform::HmacSha256(derived.text, "check"))),
          BoxKey(platform::HmacSha256(derived.text, "lock key"))};
}

}  // namespace

PasswordCheck CheckPassword(platform::Volume& volume, const std::string& sealedLogin,
                            std::string_view typedUtf8, std::string_view typedCodePage) {
  const Secret stored(UnsealText(volume, sealedLogin));
  const std::string& inner = stored.text;
  if (inner.empty()) return {};
  if (inner.compare(0, Marker.size(), Marker) != 0) {
    // The old form compares sealed texts, as it always has.
    const bool same = SealText(volume, std::string(typedCodePage)) == sealedLogin;
    return {.accepted = same, .oldForm = same};
  }
  const std::string_view rest = std::string_view(inner).substr(Marker.size());
  if (rest.size() < 4 + SaltSize + CheckSize) return {};
  const std::uint32_t rounds = GetRounds(rest.substr(0, 4));
  if (rounds == 0 || rounds > MostRounds) return {};
  const std::string_view salt = rest.substr(4, SaltSize);
  const std::string_view check = rest.substr(4 + SaltSize, CheckSize);
  const Derived derived = Derive(typedUtf8, salt, rounds);
  if (!SameBytes(derived.check.text, check)) return {};
  auto opened = OpenBox(derived.boxKey, rest.substr(4 + SaltSize + CheckSize));
  if (!opened) return {};
  const Secret keyBytes(std::move(*opened));
  const auto key = BoxKey::From(keyBytes.text);
  if (!key) return {};
  return {.accepted = true, .key = *key};
}

std::string SealedVerifier(platform::Services& services, std::string_view typedUtf8,
                           const BoxKey& key) {
  const std::string salt = RandomBytes(services.random, SaltSize);
  const Derived derived = Derive(typedUtf8, salt, PasswordRounds);
  Secret inner{std::string(Marker)};
  PutRounds(inner.text, PasswordRounds);
  inner.text += salt;
  inner.text += derived.check.text;
  inner.text += CloseBox(services.random, derived.boxKey, key.view());
  return SealText(services.volume, inner.text);
}
