// Base64 as sealing uses it: RFC 4648 vectors, and how malformed text decodes.
#include <string>

#include <gtest/gtest.h>

#include "core/base64.h"

namespace {

TEST(Base64, Rfc4648VectorsBothWays) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
      {"abc", "YWJj"},
  };
  for (const auto& [plain, encoded] : cases) {
    EXPECT_EQ(Base64EncodeStr(plain), encoded);
    EXPECT_EQ(Base64DecodeStr(encoded), plain);
  }
}

TEST(Base64, AllByteValuesRoundTrip) {
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(255 - i);
  const std::string encoded = Base64EncodeStr(all);
  EXPECT_EQ(encoded.size(), Base64EncodedLength(all.size()));
  EXPECT_EQ(encoded.substr(0, 8), "//79/Pv6");
  EXPECT_EQ(Base64DecodeStr(encoded), all);
}

TEST(Base64, WholeGroupsOnly) {
  EXPECT_EQ(Base64DecodeStr("Zm9vY"), "foo");
  EXPECT_EQ(Base64DecodeStr("Zm9vYmF"), "foo");
  EXPECT_EQ(Base64DecodeStr("Zm9"), "");
  EXPECT_EQ(Base64DecodedMaxLength(7), 3u);
}

TEST(Base64, DecodingGoesOnAfterPadding) {
  EXPECT_EQ(Base64DecodeStr("Zg==Zm8=Zm9v"), "ffofoo");
  // "=" third means one byte, whatever the fourth is.
  EXPECT_EQ(Base64DecodeStr("Zg=v"), "f");
  EXPECT_EQ(Base64DecodeStr("===="), std::string(1, '\0'));
}

TEST(Base64, CharactersOutsideTheAlphabetCountAsZero) {
  EXPECT_EQ(Base64DecodeStr("A*AA"), std::string(3, '\0'));
  EXPECT_EQ(Base64DecodeStr("Zm9\xff"), Base64DecodeStr("Zm9A"));
  EXPECT_EQ(Base64DecodeStr(std::string("Zm\0v", 4)), Base64DecodeStr("ZmAv"));
  EXPECT_EQ(Base64DecodeStr("\n\r \x80").size(), 3u);
}

}  // namespace
