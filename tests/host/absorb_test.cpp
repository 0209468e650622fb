#include "core/absorb.h"

#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

namespace {

[[noreturn]] void ThrowRegistry() { throw platform::RegistryError("registry"); }
[[noreturn]] void ThrowLogic() { throw std::logic_error("logic"); }
[[noreturn]] void ThrowInt() { throw 7; }

TEST(Absorb, TakesOnlyTheNamedErrorAndLetsEverythingElsePass) {
  EXPECT_TRUE(Absorb([] {}));
  EXPECT_FALSE(Absorb(ThrowRegistry));
  EXPECT_THROW(Absorb(ThrowLogic), std::logic_error);
  EXPECT_FALSE(Absorb<std::exception>(ThrowLogic));
  EXPECT_THROW(Absorb<std::exception>(ThrowInt), int);
  EXPECT_FALSE(Absorb<Anything>(ThrowInt));

  EXPECT_EQ(Absorb(std::string("default"), [] { return std::string("read"); }), "read");
  EXPECT_EQ(Absorb(std::string("default"), []() -> std::string { ThrowRegistry(); }), "default");
  EXPECT_EQ(Absorb<Anything>(3, []() -> int { ThrowInt(); }), 3);
}

}  // namespace
