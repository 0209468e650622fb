// Symmetric ciphers. A cipher is keyed once (directly or from a pass phrase through a
// hash), used, and wiped; wiping destroys the key material and clears the keyed flag.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

#include "core/dcp_hash.h"

class EDCP_cipher : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TDCP_cipher {
 public:
  TDCP_cipher() = default;
  TDCP_cipher(const TDCP_cipher&) = delete;
  TDCP_cipher& operator=(const TDCP_cipher&) = delete;
  virtual ~TDCP_cipher() = default;

  // The largest key in bits; the same for every object of the class.
  virtual std::size_t MaxKeyBits() const = 0;
  // Keys the cipher with sizeBits / 8 bytes from `key`. Wipes an earlier key first;
  // throws "Invalid key size" for 0 bits, a size that is not a multiple of 4, or one
  // above MaxKeyBits(), leaving the cipher unkeyed.
  virtual void SetKey(const void* key, std::size_t sizeBits);
  virtual void Wipe();
  // `in` and `out` are the same buffer or do not overlap. Throw "Cipher not
  // initialized" on an unkeyed cipher.
  virtual void EncipherBytes(const void* in, void* out, std::size_t count) = 0;
  virtual void DecipherBytes(const void* in, void* out, std::size_t count) = 0;
  // Enciphers the text's bytes and returns them in Base64.
  virtual std::string EncipherText(const std::string& text);
  // Base64-decodes the text and deciphers what it decodes to.
  virtual std::string DecipherText(const std::string& text);

  // Keys the cipher with the digest of the pass phrase, cut to MaxKeyBits() if the
  // digest is longer. Every failure comes out as "Unable to allocate sufficient memory
  // for hash digest", with the cipher unkeyed.
  void SetKeyFromPassphrase(const std::string& passphrase, const TDCP_hashclass& hash);

  bool keyed() const { return keyed_; }

 protected:
  void CheckKeyed() const;

 private:
  bool keyed_ = false;
};
