#include "platform/memory/memory_protection.h"

#include <algorithm>

#include "platform/sha256.h"

namespace platform {

namespace {

constexpr std::size_t SaltSize = 16;
constexpr std::size_t TagSize = 16;

std::string AsText(const Sha256Digest& digest) {
  return std::string(reinterpret_cast<const char*>(digest.data()), digest.size());
}

// The user's key, and the salt and entropy it is spent on.
std::string BlobKey(const std::string& user, std::string_view salt, std::string_view entropy) {
  const std::string userKey = AsText(HmacSha256("memory user key", user));
  std::string context(salt);
  context += AsText(HmacSha256("entropy", entropy));
  return AsText(HmacSha256(userKey, context));
}

std::string Stream(const std::string& key, std::string_view data) {
  std::string out(data);
  for (std::size_t block = 0; block * 32 < out.size(); ++block) {
    const Sha256Digest pad = HmacSha256(key, "stream" + std::to_string(block));
    for (std::size_t i = block * 32; i < std::min(out.size(), block * 32 + 32); ++i)
      out[i] = static_cast<char>(out[i] ^ pad[i - block * 32]);
  }
  return out;
}

std::string Tag(const std::string& key, std::string_view cipher) {
  return AsText(HmacSha256(key, "tag" + std::string(cipher))).substr(0, TagSize);
}

}  // namespace

std::optional<std::string> MemoryUserProtection::Protect(std::string_view plain,
                                                         std::string_view entropy) {
  if (refusing_) return std::nullopt;
  ++protections_;
  std::string salt(SaltSize, '\0');
  for (char& byte : salt) byte = static_cast<char>(random_.Below(256));
  const std::string key = BlobKey(user_, salt, entropy);
  const std::string cipher = Stream(key, plain);
  return salt + cipher + Tag(key, cipher);
}

std::optional<std::string> MemoryUserProtection::Unprotect(std::string_view blob,
                                                           std::string_view entropy) {
  if (blob.size() < SaltSize + TagSize) return std::nullopt;
  const std::string key = BlobKey(user_, blob.substr(0, SaltSize), entropy);
  const std::string_view cipher = blob.substr(SaltSize, blob.size() - SaltSize - TagSize);
  if (Tag(key, cipher) != blob.substr(blob.size() - TagSize)) return std::nullopt;
  return Stream(key, cipher);
}

}  // namespace platform
