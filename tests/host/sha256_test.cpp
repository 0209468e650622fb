#include "platform/sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::Sha256Digest;

std::string Hex(const Sha256Digest& digest) {
  std::string text;
  for (unsigned byte : digest)
    text += "0123456789abcdef"[byte >> 4], text += "0123456789abcdef"[byte & 15];
  return text;
}

// The published examples: SHA-256, HMAC-SHA256 (RFC 4231) and PBKDF2-HMAC-SHA256 (RFC
// 7914), a key longer than a block and a message fed across blocks among them.
TEST(Sha256Test, TheStandardsExamples) {
  platform::Sha256Hasher million;
  const std::string piece(1000, 'a');  // no whole number of blocks
  for (int i = 0; i < 1000; ++i) million.Update(piece);
  EXPECT_EQ(Hex(million.Finish()),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
  EXPECT_EQ(Hex(platform::HmacSha256("Jefe", "what do ya want for nothing?")),
            "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843");
  EXPECT_EQ(Hex(platform::HmacSha256(std::string(131, '\xaa'),
                                     "Test Using Larger Than Block-Size Key - Hash Key First")),
            "60e431591ee0b67f0d8a26aacbf5b77f8e0bc6213728c5140546040f0ee37f54");
  // A key of exactly one block is used as it is.
  EXPECT_EQ(Hex(platform::HmacSha256(std::string(64, 'k'), "message")),
            "890f3a16e0ca0aaa3bf180f70fa8e3970b3fd6505e98fde157988dcc19d1685c");
  EXPECT_EQ(Hex(platform::Pbkdf2HmacSha256("passwd", "salt", 1)),
            "55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc");
  EXPECT_EQ(Hex(platform::Pbkdf2HmacSha256("Password", "NaCl", 80000)),
            "4ddcd8f60b98be21830cee5ef22701f9641a4418d04c0414aeff08876b34ab56");
}

// A message fed in pieces of any size gives what it gives in one.
TEST(Sha256Test, PiecesGiveWhatTheWholeGives) {
  std::string message;
  for (int i = 0; i < 300; ++i) message += static_cast<char>(i * 7 + i / 5);
  platform::Sha256Hasher whole;
  whole.Update(message);
  for (std::size_t piece : {1u, 13u, 64u, 100u}) {
    platform::Sha256Hasher pieces;
    for (std::size_t at = 0; at < message.size(); at += piece)
      pieces.Update(std::string_view(message).substr(at, piece));
    EXPECT_EQ(pieces.Finish(), platform::Sha256Hasher(whole).Finish()) << piece;
  }
}

// Where the processor has SHA instructions, they give what the plain code gives.
TEST(Sha256Test, BothRoutesOfTheBlockFunctionAgree) {
  std::uint8_t blocks[3 * 64];
  for (int i = 0; i < 3 * 64; ++i) blocks[i] = static_cast<std::uint8_t>(i * 37 + 11);
  std::uint32_t plain[8] = {1, 2, 3, 4, 5, 6, 7, 8}, fast[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  using platform::sha256_detail::Route;
  platform::sha256_detail::Compress(plain, blocks, 3, Route::Plain);
  platform::sha256_detail::Compress(fast, blocks, 3, Route::Instructions);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(plain[i], fast[i]) << i;
}

}  // namespace
