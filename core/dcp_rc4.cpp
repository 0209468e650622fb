#include "core/dcp_rc4.h"

#include <cstring>

#include "core/secure_wipe.h"

TDCP_rc4::~TDCP_rc4() { TDCP_rc4::Wipe(); }

void TDCP_rc4::SetKey(const void* key, std::size_t sizeBits) {
  TDCP_cipher::SetKey(key, sizeBits);
  const std::size_t length = sizeBits / 8;
  if (length == 0) {
    Wipe();
    throw EDCP_cipher("Invalid key size");
  }
  const unsigned char* k = static_cast<const unsigned char*>(key);
  for (int i = 0; i < 256; ++i) state_[i] = static_cast<unsigned char>(i);
  unsigned j = 0;
  for (std::size_t i = 0; i < 256; ++i) {
    j = (j + state_[i] + k[i % length]) & 0xFF;
    const unsigned char t = state_[i];
    state_[i] = state_[j];
    state_[j] = t;
  }
  std::memcpy(initial_, state_, sizeof state_);
}

void TDCP_rc4::Wipe() {
  SecureFill(state_, sizeof state_, 0xFF);
  SecureFill(initial_, sizeof initial_, 0xFF);
  TDCP_cipher::Wipe();
}

void TDCP_rc4::Crypt(const void* in, void* out, std::size_t count) {
  CheckKeyed();
  const unsigned char* src = static_cast<const unsigned char*>(in);
  unsigned char* dst = static_cast<unsigned char*>(out);
  unsigned i = 0, j = 0;
  for (std::size_t n = 0; n < count; ++n) {
    i = (i + 1) & 0xFF;
    j = (j + state_[i]) & 0xFF;
    const unsigned char t = state_[i];
    state_[i] = state_[j];
    state_[j] = t;
    dst[n] = src[n] ^ state_[(state_[i] + state_[j]) & 0xFF];
  }
}

void TDCP_rc4::EncipherBytes(const void* in, void* out, std::size_t count) {
  Crypt(in, out, count);
}

void TDCP_rc4::DecipherBytes(const void* in, void* out, std::size_t count) {
  Crypt(in, out, count);
}
