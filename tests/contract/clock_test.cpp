// The clock on both backends: the local date as the program counts it, and sleeping.
#include <gtest/gtest.h>

#include "contract_rig.h"

namespace {

template <typename Rig>
class ClockContract : public ::testing::Test {
 protected:
  Rig rig;
};

TYPED_TEST_SUITE(ClockContract, contract::ClockRigs);

TYPED_TEST(ClockContract, NowCountsDaysSince1899AndASleepMovesItOnByItsLength) {
  platform::Clock& clock = this->rig.clock();
  const platform::DateTime before = clock.Now();
  EXPECT_GT(before, 36526.0);  // 1 January 2000
  EXPECT_LT(before, 73051.0);  // 1 January 2100
  clock.Sleep(200);
  const double sleptMs = (clock.Now() - before) * 24 * 60 * 60 * 1000;
  EXPECT_GE(sleptMs, 150);  // a system clock may move in steps of about 16 ms
  // A length below one is no sleep, never "forever": the test would hang.
  clock.Sleep(-5);
  clock.Sleep(0);
}

}  // namespace
