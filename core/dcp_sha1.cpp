#include "core/dcp_sha1.h"

#include <cstring>

#include "core/secure_wipe.h"

namespace {

std::uint32_t Rol(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

}  // namespace

TDCP_sha1::~TDCP_sha1() {
  // Always clear: cheap, and nothing of a message outlives the object.
  ClearState();
}

void TDCP_sha1::ClearState() {
  SecureZero(&lenHi_, sizeof lenHi_);
  SecureZero(&lenLo_, sizeof lenLo_);
  SecureZero(&index_, sizeof index_);
  SecureZero(hash_, sizeof hash_);
  SecureZero(buffer_, sizeof buffer_);
}

void TDCP_sha1::Start() {
  ClearState();
  hash_[0] = 0x67452301;
  hash_[1] = 0xEFCDAB89;
  hash_[2] = 0x98BADCFE;
  hash_[3] = 0x10325476;
  hash_[4] = 0xC3D2E1F0;
  started_ = true;
}

void TDCP_sha1::Wipe() {
  ClearState();
  TDCP_hash::Wipe();
}

void TDCP_sha1::Compress() {
  std::uint32_t w[80];
  for (int t = 0; t < 16; ++t) {
    w[t] = (std::uint32_t{buffer_[4 * t]} << 24) | (std::uint32_t{buffer_[4 * t + 1]} << 16) |
           (std::uint32_t{buffer_[4 * t + 2]} << 8) | std::uint32_t{buffer_[4 * t + 3]};
  }
  for (int t = 16; t < 80; ++t) w[t] = Rol(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);

  std::uint32_t a = hash_[0], b = hash_[1], c = hash_[2], d = hash_[3], e = hash_[4];
  for (int t = 0; t < 80; ++t) {
    std::uint32_t f, k;
    if (t < 20) {
      f = (b & c) | (~b & d);
      k = 0x5A827999;
    } else if (t < 40) {
      f = b ^ c ^ d;
      k = 0x6ED9EBA1;
    } else if (t < 60) {
      f = (b & c) | (b & d) | (c & d);
      k = 0x8F1BBCDC;
    } else {
      f = b ^ c ^ d;
      k = 0xCA62C1D6;
    }
    const std::uint32_t temp = Rol(a, 5) + f + e + k + w[t];
    e = d;
    d = c;
    c = Rol(b, 30);
    b = a;
    a = temp;
  }
  hash_[0] += a;
  hash_[1] += b;
  hash_[2] += c;
  hash_[3] += d;
  hash_[4] += e;

  SecureZero(w, sizeof w);
  SecureZero(buffer_, sizeof buffer_);
}

void TDCP_sha1::AddBytes(const void* bytes, std::size_t count) {
  CheckStarted();
  const std::uint64_t bits =
      ((std::uint64_t{lenHi_} << 32) | lenLo_) + static_cast<std::uint64_t>(count) * 8;
  lenHi_ = static_cast<std::uint32_t>(bits >> 32);
  lenLo_ = static_cast<std::uint32_t>(bits);

  const unsigned char* p = static_cast<const unsigned char*>(bytes);
  while (count > 0) {
    const std::size_t take = count < 64 - index_ ? count : 64 - index_;
    std::memcpy(buffer_ + index_, p, take);
    index_ += take;
    p += take;
    count -= take;
    if (index_ == 64) {
      Compress();
      index_ = 0;
    }
  }
}

void TDCP_sha1::Finish(void* digest) {
  CheckStarted();
  const std::uint32_t hi = lenHi_, lo = lenLo_;
  buffer_[index_++] = 0x80;
  if (index_ > 56) {
    while (index_ < 64) buffer_[index_++] = 0;
    Compress();
    index_ = 0;
  }
  while (index_ < 56) buffer_[index_++] = 0;
  for (int i = 0; i < 4; ++i) {
    buffer_[56 + i] = static_cast<unsigned char>(hi >> (24 - 8 * i));
    buffer_[60 + i] = static_cast<unsigned char>(lo >> (24 - 8 * i));
  }
  Compress();

  unsigned char* out = static_cast<unsigned char*>(digest);
  for (int i = 0; i < 5; ++i) {
    for (int b = 0; b < 4; ++b)
      out[4 * i + b] = static_cast<unsigned char>(hash_[i] >> (24 - 8 * b));
  }
  Wipe();
}
