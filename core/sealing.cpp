#include "core/sealing.h"

#include <cstdint>

#include "core/dcp_rc4.h"
#include "core/dcp_sha1.h"

namespace {

constexpr char PassphraseTail[] = "{3A9C41B7-6E2D-4F08-9B15-C7D2E8A06F34}";

void AppendHex16(std::string& out, std::uint32_t value) {
  static constexpr char Digits[] = "0123456789ABCDEF";
  for (int shift = 12; shift >= 0; shift -= 4) out += Digits[(value >> shift) & 0xF];
}

// One fresh cipher per call, keyed from this machine's pass phrase.
void KeyCipher(TDCP_rc4& cipher, platform::Volume& volume) {
  cipher.SetKeyFromPassphrase(MachineText(volume) + PassphraseTail, HashClassOf<TDCP_sha1>());
}

}  // namespace

std::string MachineText(platform::Volume& volume) {
  // A failed query counts as serial 0 ("0000-0000"): the same text on every failing
  // call, so what was sealed while the query failed still unseals while it fails.
  const std::uint32_t serial = volume.SystemSerial().value_or(0);
  std::string text;
  text.reserve(9);
  AppendHex16(text, serial >> 16);
  text += '-';
  AppendHex16(text, serial & 0xFFFF);
  return text;
}

std::string SealText(platform::Volume& volume, const std::string& plain) {
  if (plain.empty()) return std::string();
  TDCP_rc4 cipher;  // wipes itself on destruction, also when an exception passes
  KeyCipher(cipher, volume);
  std::string sealed = cipher.EncipherText(plain);
  cipher.Wipe();
  return sealed;
}

std::string UnsealText(platform::Volume& volume, const std::string& sealed) {
  // Fewer than four characters hold no whole group and decode to nothing: the result
  // is the empty text, and no cipher is keyed for it.
  if (sealed.size() < 4) return std::string();
  TDCP_rc4 cipher;
  KeyCipher(cipher, volume);
  std::string plain = cipher.DecipherText(sealed);
  cipher.Wipe();
  return plain;
}
