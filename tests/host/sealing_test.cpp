// Sealed text as the settings store keeps it: machine text, round trips, lengths,
// the alphabet, truncated input and texts sealed under another serial.
#include <cstdint>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "core/sealing.h"

namespace {

class FakeVolume : public platform::Volume {
 public:
  explicit FakeVolume(std::optional<std::uint32_t> serial) : serial(serial) {}
  std::optional<std::uint32_t> SystemSerial() override {
    ++queries;
    return serial;
  }
  std::optional<std::uint32_t> serial;
  int queries = 0;
};

std::string AllBytes() {
  std::string s;
  for (int i = 0; i < 256; ++i) s += static_cast<char>(i);
  return s;
}

TEST(MachineText, NineCharactersZeroPaddedUpperCase) {
  const std::pair<std::optional<std::uint32_t>, const char*> cases[] = {
      {0x00AB000Cu, "00AB-000C"},
      {0xDEADBEEFu, "DEAD-BEEF"},
      {0x43000000u, "4300-0000"},
      {0u, "0000-0000"},
      {0xFFFFFFFFu, "FFFF-FFFF"},
      {0x0000F00Du, "0000-F00D"},
      // A failed query reads as serial 0.
      {std::nullopt, "0000-0000"},
  };
  for (const auto& [serial, expected] : cases) {
    FakeVolume v(serial);
    EXPECT_EQ(MachineText(v), expected);
  }
}

TEST(Sealing, EmptyTextNeedsNoVolume) {
  FakeVolume v(0x1234u);
  EXPECT_EQ(SealText(v, ""), "");
  EXPECT_EQ(UnsealText(v, ""), "");
  EXPECT_EQ(v.queries, 0);
}

TEST(Sealing, KnownSealedTexts) {
  // Computed apart from this code (SHA-1 of the pass phrase, RC4, Base64); stored
  // settings depend on these staying the same.
  FakeVolume a(0x00AB000Cu);
  EXPECT_EQ(SealText(a, std::string("Quenlar\0\xe9!", 10)), "EvxdmEBPilLZyg==");
  FakeVolume wine(0x43000000u);
  EXPECT_EQ(SealText(wine, "C:\\Games\\Mir\\mir.exe"), "S3e+CCeki3W36cAkH8biQBTfCHY=");
  EXPECT_EQ(UnsealText(wine, "S3e+CCeki3W36cAkH8biQBTfCHY="), "C:\\Games\\Mir\\mir.exe");
}

TEST(Sealing, RoundTripsLengthsAndAlphabet) {
  FakeVolume v(0x5A5AA5A5u);
  const std::string all = AllBytes();
  for (std::size_t n = 1; n <= 70; ++n) {
    SCOPED_TRACE(n);
    const std::string plain = all.substr(256 - n);  // high bytes first, zero at the end
    const std::string sealed = SealText(v, plain);
    EXPECT_EQ(sealed.size(), 4 * ((n + 2) / 3));
    EXPECT_EQ(sealed.find_first_not_of(
                  "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/="),
              std::string::npos);
    EXPECT_EQ(SealText(v, plain), sealed);  // deterministic
    EXPECT_EQ(UnsealText(v, sealed), plain);
  }
  EXPECT_EQ(UnsealText(v, SealText(v, all)), all);
  EXPECT_EQ(UnsealText(v, SealText(v, std::string(5, '\0'))), std::string(5, '\0'));
}

TEST(Sealing, PaddingByLength) {
  FakeVolume v(0x00AB000Cu);
  const std::pair<const char*, std::size_t> cases[] = {{"a", 2}, {"ab", 1}, {"abc", 0}};
  for (const auto& [plain, pads] : cases) {
    const std::string sealed = SealText(v, plain);
    ASSERT_EQ(sealed.size(), 4u);
    EXPECT_EQ(sealed.find('='), pads ? 4 - pads : std::string::npos) << plain;
  }
}

TEST(Sealing, TruncatedSealedTextLosesItsTail) {
  FakeVolume v(0x00AB000Cu);
  const std::string plain = "password9";  // 9 bytes, 12 characters
  const std::string sealed = SealText(v, plain);
  for (std::size_t cut = 1; cut <= 3; ++cut) {
    SCOPED_TRACE(cut);
    EXPECT_EQ(UnsealText(v, sealed.substr(0, sealed.size() - cut)), plain.substr(0, 6));
    // Fewer than four characters: nothing to decipher.
    EXPECT_EQ(UnsealText(v, sealed.substr(0, cut)), "");
  }
}

TEST(Sealing, BoundToTheMachine) {
  FakeVolume here(0x00AB000Cu), there(0x00AB000Du), failing(std::nullopt);
  const std::string plain = "account password";
  const std::string sealed = SealText(here, plain);
  EXPECT_NE(SealText(there, plain), sealed);
  std::string other;
  ASSERT_NO_THROW(other = UnsealText(there, sealed));
  EXPECT_EQ(other.size(), plain.size());
  EXPECT_NE(other, plain);
  // While the query fails the key is still the same on every call.
  EXPECT_EQ(UnsealText(failing, SealText(failing, plain)), plain);
}

TEST(Sealing, NeverSealedTextUnsealsWithoutError) {
  FakeVolume v(0x00AB000Cu);
  std::string out;
  ASSERT_NO_THROW(out = UnsealText(v, std::string("not base64 at all! \x01\xff\0", 22)));
  EXPECT_EQ(out.size(), 15u);  // five groups of three
}

}  // namespace
