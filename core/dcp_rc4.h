// The RC4 stream cipher. Each EncipherBytes or DecipherBytes call starts its indices
// at 0 while the permutation carries on from the previous call, so only the first
// call on a freshly keyed object yields the standard RC4 key stream.
#pragma once

#include <cstddef>

#include "core/dcp_cipher.h"

class TDCP_rc4 : public TDCP_cipher {
 public:
  static constexpr std::size_t KeyBitLimit = 2048;

  TDCP_rc4() = default;
  ~TDCP_rc4() override;

  std::size_t MaxKeyBits() const override { return KeyBitLimit; }
  // Also refuses a 4-bit key: it holds no whole byte to run the key schedule on.
  void SetKey(const void* key, std::size_t sizeBits) override;
  // Overwrites both permutations with 0xFF.
  void Wipe() override;
  void EncipherBytes(const void* in, void* out, std::size_t count) override;
  void DecipherBytes(const void* in, void* out, std::size_t count) override;

 private:
  void Crypt(const void* in, void* out, std::size_t count);

  unsigned char state_[256] = {};    // working permutation
  unsigned char initial_[256] = {};  // the permutation as it stood right after keying
};
