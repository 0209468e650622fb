#include "accounts/account_key.h"

#include <gtest/gtest.h>

#include "core/settings_layout.h"

namespace {

TEST(AccountKey, IsTheKeyringPathOutsideTheProductTree) {
  EXPECT_EQ(AccountKey(), "\\Software\\Palvex\\Keyring");
  EXPECT_EQ(AccountKey().size(), 24u);
  EXPECT_NE(AccountKey().rfind(settings::ProductKey, 0), 0u);
}

}  // namespace
