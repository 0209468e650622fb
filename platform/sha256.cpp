#include "platform/sha256.h"

#include <algorithm>
#include <cstring>
#include <string>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>
#define QUENLAR_SHA_INSTRUCTIONS 1
#endif

namespace platform {

namespace {

constexpr std::uint32_t RoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::uint32_t InitialState[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                           0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

void Wipe(void* data, std::size_t size) {
  volatile auto* p = static_cast<volatile std::uint8_t*>(data);
  for (std::size_t i = 0; i < size; ++i) p[i] = 0;
}

std::uint32_t Rotr(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

void CompressPlain(std::uint32_t state[8], const std::uint8_t* block) {
  std::uint32_t w[64];
  for (int i = 0; i < 16; ++i)
    w[i] = std::uint32_t{block[4 * i]} << 24 | std::uint32_t{block[4 * i + 1]} << 16 |
           std::uint32_t{block[4 * i + 2]} << 8 | block[4 * i + 3];
  for (int i = 16; i < 64; ++i) {
    const std::uint32_t s0 = Rotr(w[i - 15], 7) ^ Rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
    const std::uint32_t s1 = Rotr(w[i - 2], 17) ^ Rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
    w[i] = w[i - 16] + s0 + w[i - 7] + s1;
  }
  std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
  std::uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
  for (int i = 0; i < 64; ++i) {
    const std::uint32_t t1 = h + (Rotr(e, 6) ^ Rotr(e, 11) ^ Rotr(e, 25)) + ((e & f) ^ (~e & g)) +
                             RoundConstants[i] + w[i];
    const std::uint32_t t2 =
        (Rotr(a, 2) ^ Rotr(a, 13) ^ Rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
    h = g;
    g = f;
    f = e;
    e = d + t1;
    d = c;
    c = b;
    b = a;
    a = t1 + t2;
  }
  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
  state[4] += e;
  state[5] += f;
  state[6] += g;
  state[7] += h;
}

#ifdef QUENLAR_SHA_INSTRUCTIONS
bool CpuHasShaInstructions() {
  static const bool Has = [] {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & bit_SSE4_1)) return false;
    return __get_cpuid_count(7, 0, &a, &b, &c, &d) && (b & bit_SHA) != 0;
  }();
  return Has;
}

// Four rounds a step: the state as ABEF and CDGH, the schedule four words at a time.
__attribute__((target("sha,sse4.1"))) void CompressInstructions(std::uint32_t state[8],
                                                                const std::uint8_t* blocks,
                                                                std::size_t count) {
  const __m128i byteSwap = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
  __m128i dcba = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[0]));
  __m128i hgfe = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[4]));
  dcba = _mm_shuffle_epi32(dcba, 0xB1);
  hgfe = _mm_shuffle_epi32(hgfe, 0x1B);
  __m128i abef = _mm_alignr_epi8(dcba, hgfe, 8);
  __m128i cdgh = _mm_blend_epi16(hgfe, dcba, 0xF0);
  for (; count > 0; --count, blocks += 64) {
    const __m128i abefStart = abef, cdghStart = cdgh;
    __m128i w[4];
    for (int i = 0; i < 4; ++i)
      w[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * i)),
                              byteSwap);
    for (int step = 0; step < 16; ++step) {
      __m128i& words = w[step % 4];
      __m128i msg = _mm_add_epi32(
          words, _mm_loadu_si128(reinterpret_cast<const __m128i*>(&RoundConstants[4 * step])));
      cdgh = _mm_sha256rnds2_epu32(cdgh, abef, msg);
      msg = _mm_shuffle_epi32(msg, 0x0E);
      abef = _mm_sha256rnds2_epu32(abef, cdgh, msg);
      if (step < 12) {
        // The words of step + 4 replace those of this step.
        const __m128i& next = w[(step + 1) % 4];
        const __m128i& before = w[(step + 2) % 4];
        const __m128i& last = w[(step + 3) % 4];
        __m128i fresh = _mm_sha256msg1_epu32(words, next);
        fresh = _mm_add_epi32(fresh, _mm_alignr_epi8(last, before, 4));
        words = _mm_sha256msg2_epu32(fresh, last);
      }
    }
    abef = _mm_add_epi32(abef, abefStart);
    cdgh = _mm_add_epi32(cdgh, cdghStart);
  }
  dcba = _mm_shuffle_epi32(abef, 0x1B);
  hgfe = _mm_shuffle_epi32(cdgh, 0xB1);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[0]), _mm_blend_epi16(dcba, hgfe, 0xF0));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[4]), _mm_alignr_epi8(hgfe, dcba, 8));
}
#endif

void CompressBlocks(std::uint32_t state[8], const std::uint8_t* blocks, std::size_t count) {
  sha256_detail::Compress(state, blocks, count, sha256_detail::Route::Instructions);
}

void StoreDigest(const std::uint32_t state[8], std::uint8_t* out) {
  for (int i = 0; i < 32; ++i)
    out[i] = static_cast<std::uint8_t>(state[i / 4] >> (24 - 8 * (i % 4)));
}

// The state after one block of the key XOR `pad`: HMAC's inner or outer start.
void PadState(const std::uint8_t key[64], std::uint8_t pad, std::uint32_t state[8]) {
  std::uint8_t block[64];
  for (int i = 0; i < 64; ++i) block[i] = key[i] ^ pad;
  std::copy(std::begin(InitialState), std::end(InitialState), state);
  CompressBlocks(state, block, 1);
  Wipe(block, sizeof block);
}

// A key of at most a block, zero-padded; a longer one is hashed first.
void BlockKey(std::string_view key, std::uint8_t out[64]) {
  std::memset(out, 0, 64);
  if (key.size() > 64) {
    Sha256Hasher hasher;
    hasher.Update(key);
    const Sha256Digest digest = hasher.Finish();
    std::copy(digest.begin(), digest.end(), out);
  } else {
    std::copy(key.begin(), key.end(), out);
  }
}

// One 32-byte message after a pad state: the final block is fixed, so it is laid out
// once and only its first 32 bytes change from round to round.
struct ShortFinal {
  std::uint8_t block[64] = {};
  ShortFinal() {
    block[32] = 0x80;
    const std::uint64_t bits = (64 + 32) * 8;
    for (int i = 0; i < 8; ++i) block[56 + i] = static_cast<std::uint8_t>(bits >> (56 - 8 * i));
  }
  ~ShortFinal() { Wipe(block, sizeof block); }
  void Hash(const std::uint32_t start[8], const std::uint8_t message[32], std::uint8_t out[32]) {
    std::copy(message, message + 32, block);
    std::uint32_t state[8];
    std::copy(start, start + 8, state);
    CompressBlocks(state, block, 1);
    StoreDigest(state, out);
    Wipe(state, sizeof state);
  }
};

}  // namespace

namespace sha256_detail {

void Compress(std::uint32_t state[8], const std::uint8_t* blocks, std::size_t count, Route route) {
#ifdef QUENLAR_SHA_INSTRUCTIONS
  if (route == Route::Instructions && CpuHasShaInstructions()) {
    CompressInstructions(state, blocks, count);
    return;
  }
#else
  (void)route;
#endif
  for (; count > 0; --count, blocks += 64) CompressPlain(state, blocks);
}

}  // namespace sha256_detail

bool Sha256UsesCpuInstructions() {
#ifdef QUENLAR_SHA_INSTRUCTIONS
  return CpuHasShaInstructions();
#else
  return false;
#endif
}

Sha256Hasher::Sha256Hasher() {
  std::copy(std::begin(InitialState), std::end(InitialState), state_);
}

Sha256Hasher::~Sha256Hasher() {
  Wipe(state_, sizeof state_);
  Wipe(block_, sizeof block_);
}

void Sha256Hasher::Update(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  length_ += size;
  if (filled_ > 0) {
    const std::size_t take = std::min(size, sizeof block_ - filled_);
    std::memcpy(block_ + filled_, bytes, take);
    filled_ += take;
    bytes += take;
    size -= take;
    if (filled_ < sizeof block_) return;
    CompressBlocks(state_, block_, 1);
    filled_ = 0;
  }
  if (size >= 64) {
    CompressBlocks(state_, bytes, size / 64);
    bytes += size / 64 * 64;
    size %= 64;
  }
  std::memcpy(block_, bytes, size);
  filled_ = size;
}

Sha256Digest Sha256Hasher::Finish() {
  const std::uint64_t bits = length_ * 8;
  std::uint8_t tail[72] = {0x80};
  const std::size_t padding = (filled_ < 56 ? 56 : 120) - filled_;
  for (int i = 0; i < 8; ++i) tail[padding + i] = static_cast<std::uint8_t>(bits >> (56 - 8 * i));
  Update(tail, padding + 8);
  Sha256Digest digest;
  StoreDigest(state_, digest.data());
  return digest;
}

Sha256Digest HmacSha256(std::string_view key, std::string_view message) {
  std::uint8_t block[64];
  BlockKey(key, block);
  std::uint8_t inner[64], outer[64];
  for (int i = 0; i < 64; ++i) {
    inner[i] = block[i] ^ 0x36;
    outer[i] = block[i] ^ 0x5c;
  }
  Sha256Hasher hasher;
  hasher.Update(inner, sizeof inner);
  hasher.Update(message);
  const Sha256Digest innerDigest = hasher.Finish();
  Sha256Hasher outerHasher;
  outerHasher.Update(outer, sizeof outer);
  outerHasher.Update(innerDigest.data(), innerDigest.size());
  Wipe(block, sizeof block);
  Wipe(inner, sizeof inner);
  Wipe(outer, sizeof outer);
  return outerHasher.Finish();
}

Sha256Digest Pbkdf2HmacSha256(std::string_view password, std::string_view salt,
                              std::uint32_t iterations) {
  std::uint8_t key[64];
  BlockKey(password, key);
  std::uint32_t innerStart[8], outerStart[8];
  PadState(key, 0x36, innerStart);
  PadState(key, 0x5c, outerStart);
  Wipe(key, sizeof key);

  // U1 = HMAC(password, salt || INT(1)); the rest are HMACs of the previous U.
  std::string first(salt);
  first.append("\0\0\0\1", 4);
  std::uint8_t u[32];
  {
    const Sha256Digest u1 = HmacSha256(password, first);
    std::copy(u1.begin(), u1.end(), u);
  }
  Wipe(first.data(), first.size());
  Sha256Digest result;
  std::copy(u, u + 32, result.begin());
  ShortFinal final;
  std::uint8_t innerDigest[32];
  for (std::uint32_t round = 1; round < iterations; ++round) {
    final.Hash(innerStart, u, innerDigest);
    final.Hash(outerStart, innerDigest, u);
    for (int i = 0; i < 32; ++i) result[i] ^= u[i];
  }
  Wipe(u, sizeof u);
  Wipe(innerDigest, sizeof innerDigest);
  Wipe(innerStart, sizeof innerStart);
  Wipe(outerStart, sizeof outerStart);
  return result;
}

}  // namespace platform
