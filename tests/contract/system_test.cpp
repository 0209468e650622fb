// The volume serial, the application cursor and randomness on both backends.
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
  for (int shape : std::initializer_list<int>{platform::crHourGlass, platform::crCross,
                                              platform::crHandPoint, platform::crDefault, -99}) {
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

}  // namespace
