#include "core/file_checksum.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <stdexcept>
#include <vector>

#include "platform/memory/memory_machine.h"

namespace {

using platform::crDefault;
using platform::crHourGlass;
using platform::Fault;
using platform::FaultKind;
using platform::FileAccess;
using platform::FileShare;
using ::testing::ElementsAre;

// The definition, one pair at a time.
std::uint16_t NaiveChecksum(const std::string& bytes) {
  std::uint16_t sum = 0;
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    const auto high = static_cast<unsigned char>(bytes[i]);
    const auto low = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : high;
    sum ^= static_cast<std::uint16_t>(high * 256 + low);
  }
  return sum;
}

std::string RandomBytes(std::mt19937& random, std::size_t count) {
  std::string bytes(count, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
  return bytes;
}

const unsigned char* Data(const std::string& s) {
  return reinterpret_cast<const unsigned char*>(s.data());
}

struct Known {
  std::string bytes;
  std::int32_t sum;
};

const std::vector<Known> KnownSums = {
    {"", 0},         {"\x12\x34", 4660},      {"\x01\x02\x03\x04", 518}, {"\x12\x34\x56", 17506},
    {"\xAB", 43947}, {"\xFF\xFF", 65535},  // high bytes must not sign-extend
    {"\xFF", 65535}, {"\x12\x34\x12\x34", 0},
};

TEST(ChecksumAccumulator, KnownValues) {
  for (const Known& k : KnownSums) {
    ChecksumAccumulator sum;
    sum.Add(Data(k.bytes), k.bytes.size());
    EXPECT_EQ(sum.Value(), k.sum) << ::testing::PrintToString(k.bytes);
  }
}

// Every length up to a few hundred bytes, fed in random blocks (empty and one-byte
// blocks included), with the running value checked after every block.
TEST(ChecksumAccumulator, MatchesTheDefinitionForAnySplit) {
  std::mt19937 random(7);
  for (std::size_t length = 0; length < 300; ++length) {
    for (int round = 0; round < 4; ++round) {
      const std::string bytes = RandomBytes(random, length);
      ChecksumAccumulator sum;
      std::size_t at = 0;
      while (at < length) {
        const std::size_t block = std::min<std::size_t>(random() % 70, length - at);
        sum.Add(Data(bytes) + at, block);
        at += block;
        ASSERT_EQ(sum.Value(), NaiveChecksum(bytes.substr(0, at)))
            << "length " << length << " at " << at;
      }
      ASSERT_EQ(sum.Value(), NaiveChecksum(bytes)) << "length " << length;
    }
  }
}

TEST(ChecksumAccumulator, UnalignedLargeBlocks) {
  std::mt19937 random(11);
  const std::string bytes = RandomBytes(random, 100003);
  ChecksumAccumulator sum;
  sum.Add(Data(bytes), 1);  // every later block starts off a pair and off alignment
  sum.Add(Data(bytes) + 1, 65537);
  sum.Add(Data(bytes) + 65538, bytes.size() - 65538);
  EXPECT_EQ(sum.Value(), NaiveChecksum(bytes));
}

constexpr const char* Game = "C:\\Games\\Mir\\mir.exe";

class FileChecksumTest : public ::testing::Test {
 protected:
  platform::MemoryMachine machine;
  TFileChecksum check{machine.files(), machine.cursor()};

  std::int32_t Sum(const std::string& path = Game) {
    check.FileName = path;
    return check.Checksum();
  }

  // After every call: the default cursor, set after the hourglass, and no handle left.
  void ExpectCleanEnd() {
    EXPECT_THAT(machine.cursor().journal(), ElementsAre(crHourGlass, crDefault));
    EXPECT_EQ(machine.cursor().Current(), crDefault);
    EXPECT_EQ(machine.files().OpenHandleCount(), 0u);
  }
};

TEST_F(FileChecksumTest, KnownFiles) {
  for (const Known& k : KnownSums) {
    machine.files().AddFile(Game, k.bytes);
    machine.cursor().ClearJournal();
    EXPECT_EQ(Sum(), k.sum) << ::testing::PrintToString(k.bytes);
    ExpectCleanEnd();
  }
}

// Several read blocks with an odd size: the block boundaries must not shift the pairs.
TEST_F(FileChecksumTest, LargeFileMatchesTheDefinition) {
  std::mt19937 random(3);
  const std::string bytes = RandomBytes(random, (std::size_t{3} << 20) + 5);
  machine.files().AddFile(Game, bytes);
  EXPECT_EQ(Sum(), NaiveChecksum(bytes));
  ExpectCleanEnd();
}

TEST_F(FileChecksumTest, MissingFileOrDirectoryGivesZero) {
  machine.files().AddDirectory("C:\\Games\\Dir");
  EXPECT_EQ(Sum(), 0);
  ExpectCleanEnd();
  machine.cursor().ClearJournal();
  EXPECT_EQ(Sum("C:\\Games\\Dir"), 0);
  ExpectCleanEnd();
}

TEST_F(FileChecksumTest, ReadOnlyFileIsSummed) {
  machine.files().AddFile(Game, "\x12\x34", platform::file_attribute::ReadOnly);
  EXPECT_EQ(Sum(), 4660);
  ExpectCleanEnd();
}

// A running executable is held for reading by the system, which lets others read.
TEST_F(FileChecksumTest, FileSharedForReadingByAnotherHolderIsSummed) {
  machine.files().AddFile(Game, "\x01\x02\x03\x04");
  platform::FileHold running = machine.files().HoldOpen(Game, FileAccess::Read, FileShare::Read);
  ASSERT_TRUE(running.held());
  EXPECT_EQ(Sum(), 518);
  ExpectCleanEnd();
}

TEST_F(FileChecksumTest, FileHeldWithoutSharingGivesZero) {
  machine.files().AddFile(Game, "\x01\x02\x03\x04");
  platform::FileHold hold = machine.files().HoldOpen(Game, FileAccess::Read, FileShare::None);
  ASSERT_TRUE(hold.held());
  EXPECT_EQ(Sum(), 0);
  ExpectCleanEnd();
}

TEST_F(FileChecksumTest, FailedOpenOrSizeGivesZero) {
  machine.files().AddFile(Game, "\x12\x34");
  for (const char* operation : {"Open", "Size"}) {
    machine.cursor().ClearJournal();
    machine.files().faults().Arm(Fault{1, false, FaultKind::Fail, operation});
    EXPECT_EQ(Sum(), 0) << operation;
    ExpectCleanEnd();
  }
}

// A failed read ends the sum: the blocks read before it count, nothing after.
// A sum of 0 is a real sum; a file that cannot be read has none, so that the watch
// never takes it for an unchanged file.
TEST_F(FileChecksumTest, AnUnreadableFileIsToldApartFromASumOfZero) {
  std::mt19937 random(5);
  const std::string big = RandomBytes(random, (std::size_t{2} << 20) + 3);
  struct Case {
    const char* what;
    std::string bytes;  // the file, when there is one
    const char* fault;  // the call that fails, if any
    std::optional<std::uint16_t> sum;
  };
  const std::vector<Case> cases = {
      {"empty", "", nullptr, 0},
      {"cancelling pairs", "\x12\x34\x12\x34", nullptr, 0},
      {"missing", {}, nullptr, std::nullopt},
      {"open fails", "\x12\x34", "Open", std::nullopt},
      {"size fails", "\x12\x34", "Size", std::nullopt},
      {"second block fails", big, "Read", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    machine.files().Remove(Game);
    if (std::string(c.what) != "missing") machine.files().AddFile(Game, c.bytes);
    if (c.fault)
      machine.files().faults().Arm(
          Fault{std::string(c.fault) == "Read" ? 2 : 1, false, FaultKind::Fail, c.fault});
    machine.cursor().ClearJournal();
    check.FileName = Game;
    EXPECT_EQ(check.TryChecksum(), c.sum);
    ExpectCleanEnd();
    machine.files().faults().Disarm();
  }
}

TEST_F(FileChecksumTest, FailedCloseKeepsTheResult) {
  machine.files().AddFile(Game, "\x12\x34\x56");
  machine.files().faults().Arm(Fault{1, false, FaultKind::Fail, "Close"});
  EXPECT_EQ(Sum(), 17506);
  EXPECT_EQ(machine.cursor().Current(), crDefault);
}

// A backend that throws: the cursor still comes back to the default.
class ThrowingFiles : public platform::Files {
 public:
  explicit ThrowingFiles(platform::Cursor& cursor) : cursor_(cursor) {}
  std::unique_ptr<platform::File> Open(const std::string&, FileAccess, FileShare) override {
    cursorAtOpen = cursor_.Current();
    throw std::runtime_error("disk gone");
  }
  bool FindFirst(const std::string&) override { return false; }
  platform::EntryKind KindOf(const std::string&) override { return platform::EntryKind::Missing; }
  bool SameFile(const std::string&, const std::string&) override { return false; }
  platform::CursorShape cursorAtOpen = crDefault;

 private:
  platform::Cursor& cursor_;
};

TEST(FileChecksum, CursorIsRestoredWhenTheBackendThrows) {
  platform::MemoryCursor cursor;
  ThrowingFiles files(cursor);
  TFileChecksum check(files, cursor);
  check.FileName = Game;
  EXPECT_THROW(check.Checksum(), std::runtime_error);
  EXPECT_EQ(files.cursorAtOpen, crHourGlass);
  EXPECT_EQ(cursor.Current(), crDefault);
}

}  // namespace
