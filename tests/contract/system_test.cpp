// The volume serial, the application cursor, randomness and digests on both backends.
#include <gtest/gtest.h>

#include <set>

#include "contract_rig.h"

namespace {

template <typename Rig>
class SystemContract : public ::testing::Test {
 protected:
  Rig rig;
};

TYPED_TEST_SUITE(SystemContract, contract::SystemRigs);

TYPED_TEST(SystemContract, TheSystemSerialIsThereAndStable) {
  std::optional<std::uint32_t> serial = this->rig.volume().SystemSerial();
  ASSERT_TRUE(serial.has_value());
  EXPECT_EQ(this->rig.volume().SystemSerial(), serial);
}

TYPED_TEST(SystemContract, TheCursorStartsAsDefaultAndKeepsEachShapeSet) {
  platform::Cursor& cursor = this->rig.cursor();
  EXPECT_EQ(cursor.Current(), platform::crDefault);
  for (platform::CursorShape shape :
       {platform::crHourGlass, platform::crCross, platform::crHandPoint, platform::crDefault,
        static_cast<platform::CursorShape>(-99)}) {
    cursor.Set(shape);
    EXPECT_EQ(cursor.Current(), shape);
  }
}

TYPED_TEST(SystemContract, RandomDrawsCoverEveryValueBelowTheBound) {
  platform::Random& random = this->rig.random();
  std::set<std::uint32_t> seen;
  for (int i = 0; i < 1000; ++i) {
    std::uint32_t x = random.Below(26);
    ASSERT_LT(x, 26u);
    seen.insert(x);
  }
  EXPECT_EQ(seen.size(), 26u);
  EXPECT_EQ(random.Below(1), 0u);
  EXPECT_EQ(random.Below(0), 0u);
}

// The standard's examples, the second one fed in pieces across a block boundary.
TYPED_TEST(SystemContract, Sha256GivesTheStandardsDigests) {
  auto hex = [](const platform::Sha256Digest& digest) {
    std::string text;
    for (unsigned byte : digest)
      text += "0123456789abcdef"[byte >> 4], text += "0123456789abcdef"[byte & 15];
    return text;
  };
  platform::Digests& digests = this->rig.digests();
  auto one = digests.NewSha256();
  ASSERT_NE(one, nullptr);
  one->Update("abc", 3);
  EXPECT_EQ(hex(one->Finish()), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  const std::string two = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
  auto pieces = digests.NewSha256();
  pieces->Update(two.data(), 20);
  pieces->Update(two.data() + 20, two.size() - 20);
  EXPECT_EQ(hex(pieces->Finish()),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
}

// What the program keeps of a game password opens only unchanged, with its own entropy,
// and is made afresh every time.
TYPED_TEST(SystemContract, UserProtectionOpensOnlyWhatItMadeWithTheSameEntropy) {
  platform::UserProtection& protection = this->rig.protection();
  const std::string plain("hunter2\0\xff", 9);
  const auto blob = protection.Protect(plain, "entropy");
  ASSERT_TRUE(blob.has_value());
  EXPECT_EQ(blob->find("hunter2"), std::string::npos);
  EXPECT_NE(protection.Protect(plain, "entropy"), blob);
  EXPECT_EQ(protection.Unprotect(*blob, "entropy"), plain);
  EXPECT_EQ(protection.Unprotect(*blob, "entropy2"), std::nullopt);
  // The system seals the blob at its end (the middle holds parts it does not sign).
  std::string changed = *blob;
  changed.back() ^= 1;
  EXPECT_EQ(protection.Unprotect(changed, "entropy"), std::nullopt);
  EXPECT_EQ(protection.Unprotect(blob->substr(0, blob->size() - 1), "entropy"), std::nullopt);
  EXPECT_EQ(protection.Unprotect("", "entropy"), std::nullopt);
}

}  // namespace
