// The cipher and hash classes under sealing: SHA-1 (FIPS 180), RC4 (RFC 6229),
// keying rules, errors and the wiping of key material.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/dcp_rc4.h"
#include "core/dcp_sha1.h"

namespace {

std::string Hex(const unsigned char* p, std::size_t n) {
  static const char* d = "0123456789abcdef";
  std::string s;
  for (std::size_t i = 0; i < n; ++i) {
    s += d[p[i] >> 4];
    s += d[p[i] & 15];
  }
  return s;
}

std::vector<unsigned char> Bytes(std::initializer_list<int> v) {
  return std::vector<unsigned char>(v.begin(), v.end());
}

std::string Sha1Hex(const std::string& message, std::size_t chunk) {
  TDCP_sha1 h;
  h.Start();
  for (std::size_t at = 0; at < message.size(); at += chunk)
    h.AddBytes(message.data() + at, std::min(chunk, message.size() - at));
  unsigned char digest[20];
  h.Finish(digest);
  return Hex(digest, 20);
}

template <class F>
std::string ErrorOf(F f) {
  try {
    f();
  } catch (const EDCP_cipher& e) {
    return std::string("cipher: ") + e.what();
  } catch (const EDCP_hash& e) {
    return std::string("hash: ") + e.what();
  }
  return "no error";
}

TEST(Sha1, Fips180Vectors) {
  const std::string abc = "abc";
  const std::string two = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
  const std::string million(1000000, 'a');
  EXPECT_EQ(Sha1Hex("", 64), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
  // Chunk sizes that straddle the 64-byte block in different ways.
  for (std::size_t chunk : {1u, 3u, 64u, 1000u}) {
    SCOPED_TRACE(chunk);
    EXPECT_EQ(Sha1Hex(abc, chunk), "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(Sha1Hex(two, chunk), "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
  }
  EXPECT_EQ(Sha1Hex(million, 997), "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
  // 55 and 56 bytes: the length fits after the 0x80 byte, or needs a second block.
  EXPECT_EQ(Sha1Hex(std::string(55, 'a'), 64), "c1c8bbdc22796e28c0e15163d20899b65621d65a");
  EXPECT_EQ(Sha1Hex(std::string(56, 'a'), 64), "c2db330f6083854c99d4b5bfb6e8f29f201be699");
}

TEST(Sha1, RestartAfterFinishForgetsTheFirstMessage) {
  TDCP_sha1 h;
  unsigned char digest[20];
  h.Start();
  h.AddText("first message");
  h.Finish(digest);
  h.Start();
  h.AddText("abc");
  h.Finish(digest);
  EXPECT_EQ(Hex(digest, 20), "a9993e364706816aba3e25717850c26c9cd0d89d");
}

TEST(Sha1, UseWithoutStartIsRefused) {
  TDCP_sha1 h;
  unsigned char digest[20];
  EXPECT_EQ(ErrorOf([&] { h.AddBytes("x", 1); }), "hash: Hash not initialized");
  EXPECT_EQ(ErrorOf([&] { h.AddText("x"); }), "hash: Hash not initialized");
  EXPECT_EQ(ErrorOf([&] { h.Finish(digest); }), "hash: Hash not initialized");
  h.Start();
  h.Finish(digest);
  EXPECT_EQ(ErrorOf([&] { h.AddText("x"); }), "hash: Hash not initialized");
  h.Start();
  h.Wipe();
  EXPECT_EQ(ErrorOf([&] { h.Finish(digest); }), "hash: Hash not initialized");
}

std::string Keystream(const std::vector<unsigned char>& key, std::size_t offset) {
  TDCP_rc4 c;
  c.SetKey(key.data(), key.size() * 8);
  std::vector<unsigned char> zero(offset + 16, 0), out(offset + 16);
  c.EncipherBytes(zero.data(), out.data(), zero.size());  // one call: the standard stream
  return Hex(out.data() + offset, 16);
}

TEST(Rc4, Rfc6229Keystreams) {
  const auto k40 = Bytes({1, 2, 3, 4, 5});
  EXPECT_EQ(Keystream(k40, 0), "b2396305f03dc027ccc3524a0a1118a8");
  EXPECT_EQ(Keystream(k40, 16), "6982944f18fc82d589c403a47a0d0919");
  EXPECT_EQ(Keystream(k40, 240), "28cb1132c96ce286421dcaadb8b69eae");
  EXPECT_EQ(Keystream(k40, 4096), "ff25b58995996707e51fbdf08b34d875");
  const auto k128 = Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
  EXPECT_EQ(Keystream(k128, 0), "9ac7cc9a609d1ef7b2932899cde41b97");
  EXPECT_EQ(Keystream(k128, 16), "5248c4959014126a6e8a84f11d1a9e1c");
  EXPECT_EQ(Keystream(k128, 240), "065902e4b620f6cc36c8589f66432f2b");
  EXPECT_EQ(Keystream(k128, 4096), "a36a4c301ae8ac13610ccbc12256cacc");
}

TEST(Rc4, KeySizes) {
  std::vector<unsigned char> key(300, 0x5A);
  TDCP_rc4 c;
  for (std::size_t bits : {0u, 2u, 6u, 161u, 2052u, 4096u}) {
    SCOPED_TRACE(bits);
    EXPECT_EQ(ErrorOf([&] { c.SetKey(key.data(), bits); }), "cipher: Invalid key size");
    EXPECT_FALSE(c.keyed());
  }
  // 4 bits pass the general rule but hold no whole byte for the key schedule.
  EXPECT_EQ(ErrorOf([&] { c.SetKey(key.data(), 4); }), "cipher: Invalid key size");
  EXPECT_FALSE(c.keyed());
  for (std::size_t bits : {8u, 12u, 160u, 2048u}) {
    SCOPED_TRACE(bits);
    EXPECT_NO_THROW(c.SetKey(key.data(), bits));
    EXPECT_TRUE(c.keyed());
  }
  // A refused size after a good key leaves the cipher unkeyed, not with the old key.
  EXPECT_THROW(c.SetKey(key.data(), 0), EDCP_cipher);
  EXPECT_FALSE(c.keyed());
  EXPECT_EQ(c.MaxKeyBits(), 2048u);
}

TEST(Rc4, UnkeyedOrWipedCipherRefusesWork) {
  unsigned char buf[4] = {};
  TDCP_rc4 c;
  EXPECT_EQ(ErrorOf([&] { c.EncipherBytes(buf, buf, 4); }), "cipher: Cipher not initialized");
  EXPECT_EQ(ErrorOf([&] { c.DecipherBytes(buf, buf, 4); }), "cipher: Cipher not initialized");
  EXPECT_EQ(ErrorOf([&] { c.EncipherText("x"); }), "cipher: Cipher not initialized");
  c.SetKey("key", 24);
  c.Wipe();
  EXPECT_FALSE(c.keyed());
  EXPECT_EQ(ErrorOf([&] { c.DecipherText("AAAA"); }), "cipher: Cipher not initialized");
}

// A hash that produces a fixed pattern, and can be told how to misbehave.
struct FakeHash : TDCP_hash {
  static inline std::size_t reportedBits = 4096;
  static inline bool throwOnAdd = false;
  std::size_t DigestBits() const override { return reportedBits; }
  void Start() override { started_ = true; }
  void Finish(void* digest) override {
    CheckStarted();
    auto* p = static_cast<unsigned char*>(digest);
    for (std::size_t i = 0; i < reportedBits / 8; ++i) p[i] = static_cast<unsigned char>(i * 7 + 1);
    Wipe();
  }
  void AddBytes(const void*, std::size_t) override {
    CheckStarted();
    if (throwOnAdd) throw std::bad_alloc();
  }
};

TDCP_hashclass FakeClass(std::size_t bits) {
  return {[]() -> std::unique_ptr<TDCP_hash> { return std::make_unique<FakeHash>(); }, bits};
}

class PassphraseKeying : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeHash::reportedBits = 4096;
    FakeHash::throwOnAdd = false;
  }
};

TEST_F(PassphraseKeying, Sha1DigestIsTheKey) {
  const std::string phrase = "0000-0000{3A9C41B7-6E2D-4F08-9B15-C7D2E8A06F34}";
  unsigned char digest[20];
  TDCP_sha1 h;
  h.Start();
  h.AddText(phrase);
  h.Finish(digest);
  TDCP_rc4 direct, derived;
  direct.SetKey(digest, 160);
  derived.SetKeyFromPassphrase(phrase, HashClassOf<TDCP_sha1>());
  EXPECT_TRUE(derived.keyed());
  EXPECT_EQ(derived.EncipherText("some text"), direct.EncipherText("some text"));
}

TEST_F(PassphraseKeying, LongDigestIsCutToMaxKeyBits) {
  // A 4096-bit digest keys RC4 with its first 2048 bits.
  std::vector<unsigned char> pattern(256);
  for (std::size_t i = 0; i < 256; ++i) pattern[i] = static_cast<unsigned char>(i * 7 + 1);
  TDCP_rc4 direct, derived;
  direct.SetKey(pattern.data(), 2048);
  derived.SetKeyFromPassphrase("x", FakeClass(4096));
  EXPECT_EQ(derived.EncipherText("abcdef"), direct.EncipherText("abcdef"));
}

TEST_F(PassphraseKeying, EveryFailureReadsAsDigestMemory) {
  const std::string msg = "cipher: Unable to allocate sufficient memory for hash digest";
  TDCP_rc4 c;
  auto keyedThen = [&](auto f) {
    c.SetKey("abcd", 32);
    std::string e = ErrorOf(f);
    EXPECT_FALSE(c.keyed());
    return e;
  };
  FakeHash::throwOnAdd = true;
  EXPECT_EQ(keyedThen([&] { c.SetKeyFromPassphrase("x", FakeClass(4096)); }), msg);
  FakeHash::throwOnAdd = false;
  // A digest the cipher refuses as a key (here 6 bits).
  FakeHash::reportedBits = 6;
  EXPECT_EQ(keyedThen([&] { c.SetKeyFromPassphrase("x", FakeClass(6)); }), msg);
  // The instance would write more than the class said: refused, not overrun.
  FakeHash::reportedBits = 4096;
  EXPECT_EQ(keyedThen([&] { c.SetKeyFromPassphrase("x", FakeClass(160)); }), msg);
  EXPECT_EQ(keyedThen([&] { c.SetKeyFromPassphrase("x", TDCP_hashclass{nullptr, 160}); }), msg);
  EXPECT_EQ(keyedThen([&] { c.SetKeyFromPassphrase("x", FakeClass(0)); }), msg);
  auto nullMaker = TDCP_hashclass{[]() -> std::unique_ptr<TDCP_hash> { return nullptr; }, 160};
  EXPECT_EQ(keyedThen([&] { c.SetKeyFromPassphrase("x", nullMaker); }), msg);
}

// Runs `use` on an object built in local storage, destroys it, and returns what the
// storage holds afterwards; the destructor's stores must not have been dropped.
template <class T, class F>
std::vector<unsigned char> StorageAfterDestruction(F use) {
  alignas(T) unsigned char storage[sizeof(T)];
  std::memset(storage, 0xA5, sizeof storage);
  T* object = new (storage) T;
  use(*object);
  object->~T();
  std::vector<unsigned char> bytes(sizeof storage);
  const volatile unsigned char* p = storage;
  for (std::size_t i = 0; i < sizeof storage; ++i) bytes[i] = p[i];
  return bytes;
}

bool Contains(const std::vector<unsigned char>& hay, const void* needle, std::size_t n) {
  const auto* b = static_cast<const unsigned char*>(needle);
  return std::search(hay.begin(), hay.end(), b, b + n) != hay.end();
}

TEST(Wiping, DestroyedKeyedRc4LeavesOnlyFF) {
  const auto key = Bytes({1, 2, 3, 4, 5});
  auto bytes = StorageAfterDestruction<TDCP_rc4>([&](TDCP_rc4& c) {
    c.SetKey(key.data(), 40);
    unsigned char buf[8] = {};
    c.EncipherBytes(buf, buf, 8);
  });
  EXPECT_GE(std::count(bytes.begin(), bytes.end(), 0xFF), 512);
}

TEST(Wiping, DestroyedStartedSha1KeepsNoMessageOrState) {
  const std::string secret = "secret pass phrase bytes, fewer than 64";
  const unsigned char iv[4] = {0x01, 0x23, 0x45, 0x67};  // little-endian 0x67452301
  auto bytes = StorageAfterDestruction<TDCP_sha1>([&](TDCP_sha1& h) {
    h.Start();
    h.AddText(secret);
  });
  EXPECT_FALSE(Contains(bytes, secret.data(), 8));
  EXPECT_FALSE(Contains(bytes, iv, 4));
}

}  // namespace
