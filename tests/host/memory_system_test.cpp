#include "platform/memory/memory_machine.h"

#include <gtest/gtest.h>

#include <vector>

using platform::MemoryMachine;
using platform::MemoryRandom;

namespace {

TEST(MemoryMachine, ServicesReachTheMachinesOwnObjects) {
  MemoryMachine m;
  platform::Services s = m.services();
  EXPECT_EQ(s.volume.SystemSerial(), 0x43000000u);
  m.volume().SetSerial(std::nullopt);
  EXPECT_EQ(s.volume.SystemSerial(), std::nullopt);
  s.cursor.Set(platform::crHourGlass);
  s.cursor.Set(platform::crDefault);
  std::vector<int> shapes;
  for (platform::CursorShape shape : m.cursor().journal())
    shapes.push_back(static_cast<int>(shape));
  EXPECT_EQ(shapes, (std::vector<int>{-11, 0}));
  EXPECT_EQ(&s.registry, &m.registry());
  EXPECT_EQ(&s.files, &m.files());
}

// Draws below the bound are checked on both backends; here, that a seed repeats them.
TEST(MemoryRandom, SeededDrawsRepeat) {
  MemoryRandom a(7), b(7), c(8);
  std::vector<std::uint32_t> da, db, dc;
  for (int i = 0; i < 50; ++i) {
    da.push_back(a.Below(26));
    db.push_back(b.Below(26));
    dc.push_back(c.Below(26));
  }
  EXPECT_EQ(da, db);
  EXPECT_NE(da, dc);
}

TEST(MemoryRandom, ScriptedValuesComeFirstReducedByTheBound) {
  MemoryRandom r;
  r.Script({5, 12});
  EXPECT_EQ(r.Below(10), 5u);
  EXPECT_EQ(r.Below(10), 2u);
  EXPECT_LT(r.Below(10), 10u);
  EXPECT_EQ(r.bounds(), (std::vector<std::uint32_t>{10, 10, 10}));
}

}  // namespace
