#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/common/image_button_rig.h"

namespace {

TEST(UiImageButton, AReleaseShowsUpAndHoverWaitsUntilThePointerComesBack) {
  int clicks = 0;
  auto rig = MakeImageButtonRig([&] { ++clicks; });
  std::vector<std::string> shown{rig->Button().ShownImage()};
  const std::vector<std::function<void()>> steps = {
      [&] { rig->MoveTo({5, 5}); }, [&] { rig->MoveTo({6, 6}); }, [&] { rig->Press(); },
      [&] { rig->Release(); },      [&] { rig->MoveTo({7, 7}); }, [&] { rig->Leave(); },
      [&] { rig->MoveTo({5, 5}); }};
  for (const auto& step : steps) {
    step();
    shown.push_back(rig->Button().ShownImage());
  }
  EXPECT_EQ(shown,
            (std::vector<std::string>{"up", "over", "over", "down", "up", "up", "up", "over"}));
  EXPECT_EQ(clicks, 1);
}

}  // namespace
