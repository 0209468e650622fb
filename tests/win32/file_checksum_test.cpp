// The file checksum on real files: attributes, sharing and a large file read in blocks.
#include "core/file_checksum.h"

#include <gtest/gtest.h>

#include "platform/win32/win32_files.h"
#include "platform/win32/win32_system.h"
#include "tests/common/pattern.h"
#include "tests/win32/scratch.h"

namespace {

class Win32ChecksumTest : public ::testing::Test {
 protected:
  std::int32_t Sum(const std::string& path) {
    TFileChecksum checksum(files, cursor);
    checksum.FileName = path;
    std::int32_t value = checksum.Checksum();
    EXPECT_EQ(cursor.Current(), platform::crDefault);
    return value;
  }

  scratch::Folder folder;
  platform::win32::Win32Files files;
  platform::win32::Win32Cursor cursor;
};

TEST_F(Win32ChecksumTest, ReadOnlyFileIsSummed) {
  std::string path = folder.Write("mir.exe", "\x12\x34\x56");
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(Sum(path), 0x4462);
}

TEST_F(Win32ChecksumTest, FileHeldWithoutSharingOrMissingGivesZero) {
  std::string path = folder.Write("mir.exe", "\x12\x34");
  {
    scratch::Holder holder(path, GENERIC_READ, 0);
    ASSERT_TRUE(holder.ok());
    EXPECT_EQ(Sum(path), 0);
  }
  EXPECT_EQ(Sum(path), 0x1234);
  EXPECT_EQ(Sum(folder.Child("missing.exe")), 0);
}

TEST_F(Win32ChecksumTest, LargeFileMatchesTheSumInMemory) {
  std::string bytes(test_pattern::LargeFileSize, '\0');
  test_pattern::PatternBytes pattern;
  pattern.Fill(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size());
  ChecksumAccumulator in_memory;
  in_memory.Add(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());

  std::string path = folder.Write("large.bin", bytes);
  EXPECT_EQ(Sum(path), in_memory.Value());
  EXPECT_EQ(Sum(path), test_pattern::LargeFileChecksum);
}

}  // namespace
