// SHA-1 as FIPS 180-1 defines it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/dcp_hash.h"

class TDCP_sha1 : public TDCP_hash {
 public:
  static constexpr std::size_t DigestBitCount = 160;

  TDCP_sha1() = default;
  ~TDCP_sha1() override;

  std::size_t DigestBits() const override { return DigestBitCount; }
  void Start() override;
  void Finish(void* digest) override;
  void Wipe() override;
  void AddBytes(const void* bytes, std::size_t count) override;

 private:
  void Compress();
  void ClearState();

  std::uint32_t lenHi_ = 0;  // message length in bits, high half
  std::uint32_t lenLo_ = 0;  // and low half
  std::size_t index_ = 0;    // bytes waiting in buffer_
  std::uint32_t hash_[5] = {};
  unsigned char buffer_[64] = {};
};
