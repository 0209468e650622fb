// The large-file pattern and its checksum constant, which the Windows tests rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/file_checksum.h"
#include "tests/common/pattern.h"

namespace {

TEST(PatternChecksum, FixedStartOfTheSequence) {
  test_pattern::PatternBytes pattern;
  std::vector<unsigned char> first(4);
  pattern.Fill(first.data(), first.size());
  EXPECT_EQ(first, (std::vector<unsigned char>{0x19, 0x3e, 0x3a, 0xb5}));
}

TEST(PatternChecksum, LargeFileSumsToTheSharedConstant) {
  // Odd-sized blocks, so pairs straddle block boundaries as they do in file reads.
  test_pattern::PatternBytes pattern;
  ChecksumAccumulator sum;
  std::vector<unsigned char> block(1 << 20 | 1);
  for (std::size_t left = test_pattern::LargeFileSize; left > 0;) {
    std::size_t count = std::min(left, block.size());
    pattern.Fill(block.data(), count);
    sum.Add(block.data(), count);
    left -= count;
  }
  EXPECT_EQ(sum.Value(), test_pattern::LargeFileChecksum);
}

}  // namespace
