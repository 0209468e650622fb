#include "core/secret_box.h"

#include <algorithm>

using platform::HmacSha256;
using platform::Sha256Digest;

namespace {

constexpr std::size_t NonceSize = 16;
constexpr std::size_t TagSize = 16;

std::string AsText(const Sha256Digest& digest) {
  return std::string(reinterpret_cast<const char*>(digest.data()), digest.size());
}

// Enciphering and deciphering alike.
void ApplyStream(const BoxKey& key, std::string_view nonce, std::string& text) {
  const Secret streamKey(AsText(HmacSha256(key.view(), "stream")));
  std::string counter(nonce);
  counter.append(4, '\0');
  for (std::size_t block = 0; block * 32 < text.size(); ++block) {
    for (int i = 0; i < 4; ++i) counter[NonceSize + i] = static_cast<char>(block >> (24 - 8 * i));
    Sha256Digest pad = HmacSha256(streamKey.text, counter);
    const std::size_t end = std::min(text.size(), block * 32 + 32);
    for (std::size_t i = block * 32; i < end; ++i)
      text[i] = static_cast<char>(text[i] ^ pad[i - block * 32]);
    SecureZero(pad.data(), pad.size());
  }
}

std::string Tag(const BoxKey& key, std::string_view nonceAndCipher) {
  const Secret tagKey(AsText(HmacSha256(key.view(), "tag")));
  return AsText(HmacSha256(tagKey.text, nonceAndCipher)).substr(0, TagSize);
}

}  // namespace

BoxKey BoxKey::Drawn(platform::Random& random) { return *From(RandomBytes(random, Size)); }

std::optional<BoxKey> BoxKey::From(std::string_view bytes) {
  if (bytes.size() != Size) return std::nullopt;
  Sha256Digest digest;
  std::copy(bytes.begin(), bytes.end(), digest.begin());
  BoxKey key(digest);
  SecureZero(digest.data(), digest.size());
  return key;
}

std::string RandomBytes(platform::Random& random, std::size_t count) {
  std::string bytes(count, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random.Below(256));
  return bytes;
}

std::string CloseBox(platform::Random& random, const BoxKey& key, std::string_view plain) {
  std::string box = RandomBytes(random, NonceSize);
  std::string cipher(plain);
  ApplyStream(key, box, cipher);
  box += cipher;
  box += Tag(key, box);
  return box;
}

std::optional<std::string> OpenBox(const BoxKey& key, std::string_view box) {
  if (box.size() < NonceSize + TagSize) return std::nullopt;
  const std::string_view sealedPart = box.substr(0, box.size() - TagSize);
  if (!SameBytes(Tag(key, sealedPart), box.substr(box.size() - TagSize))) return std::nullopt;
  std::string plain(sealedPart.substr(NonceSize));
  ApplyStream(key, box.substr(0, NonceSize), plain);
  return plain;
}

bool SameBytes(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  unsigned char difference = 0;
  for (std::size_t i = 0; i < a.size(); ++i) difference |= static_cast<unsigned char>(a[i] ^ b[i]);
  return difference == 0;
}
