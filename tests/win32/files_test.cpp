#include "platform/win32/win32_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "tests/win32/scratch.h"

namespace {

using platform::FileAccess;
using platform::FileShare;

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

class Win32FilesTest : public ::testing::Test {
 protected:
  bool Opens(const std::string& path, FileAccess access, FileShare share) {
    return files.Open(path, access, share) != nullptr;
  }

  scratch::Folder folder;
  platform::win32::Win32Files files;
};

TEST_F(Win32FilesTest, SizeAndSequentialReads) {
  std::string bytes(10000, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  auto file = files.Open(folder.Write("data.bin", bytes), FileAccess::Read, FileShare::Read);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->Size(), 10000u);

  std::string back;
  char buffer[4096];
  std::vector<std::size_t> counts;
  for (;;) {
    auto got = file->Read(buffer, sizeof buffer);
    ASSERT_TRUE(got.has_value());
    counts.push_back(*got);
    if (*got == 0) break;
    back.append(buffer, *got);
  }
  EXPECT_EQ(counts, (std::vector<std::size_t>{4096, 4096, 1808, 0}));
  EXPECT_EQ(back, bytes);

  EXPECT_TRUE(file->Close());
  EXPECT_FALSE(file->Close());
  EXPECT_FALSE(file->Read(buffer, 1).has_value());
  EXPECT_FALSE(file->Size().has_value());
}

TEST_F(Win32FilesTest, ReadOnlyFileOpensForReadingOnly) {
  std::string path = folder.Write("ro.bin", "abc");
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(Opens(path, FileAccess::ReadWrite, FileShare::ReadWrite));
  auto file = files.Open(path, FileAccess::Read, FileShare::Read);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->Size(), 3u);
}

TEST_F(Win32FilesTest, HandleHeldWithoutSharingBlocksEveryOpen) {
  std::string path = folder.Write("held.bin", "abc");
  {
    scratch::Holder holder(path, GENERIC_READ, 0);
    ASSERT_TRUE(holder.ok());
    EXPECT_FALSE(Opens(path, FileAccess::Read, FileShare::ReadWrite));
    EXPECT_FALSE(Opens(path, FileAccess::ReadWrite, FileShare::ReadWrite));
  }
  EXPECT_TRUE(Opens(path, FileAccess::Read, FileShare::None));

  auto mine = files.Open(path, FileAccess::Read, FileShare::None);
  ASSERT_NE(mine, nullptr);
  EXPECT_FALSE(Opens(path, FileAccess::Read, FileShare::ReadWrite));
  mine->Close();
  EXPECT_TRUE(Opens(path, FileAccess::Read, FileShare::ReadWrite));
}

TEST_F(Win32FilesTest, BothShareModesMustAdmitTheOtherAccess) {
  std::string path = folder.Write("shared.bin", "abc");
  {
    scratch::Holder reader(path, GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(reader.ok());
    EXPECT_TRUE(Opens(path, FileAccess::Read, FileShare::Read));
    EXPECT_FALSE(Opens(path, FileAccess::ReadWrite, FileShare::ReadWrite));  // no write sharing
    EXPECT_FALSE(Opens(path, FileAccess::Read, FileShare::None));  // we would lock it out
  }
  {
    scratch::Holder writer(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(writer.ok());
    EXPECT_FALSE(Opens(path, FileAccess::Read, FileShare::Read));  // its write is not admitted
    EXPECT_TRUE(Opens(path, FileAccess::Read, FileShare::ReadWrite));
    EXPECT_TRUE(Opens(path, FileAccess::ReadWrite, FileShare::ReadWrite));
  }
}

TEST_F(Win32FilesTest, OnlyExistingDiskFilesOpen) {
  std::string path = folder.Write("Name.TXT", "x");
  EXPECT_TRUE(Opens(Upper(path), FileAccess::Read, FileShare::Read));
  EXPECT_FALSE(Opens(folder.Child("missing.txt"), FileAccess::Read, FileShare::ReadWrite));
  EXPECT_FALSE(Opens(folder.Child("no\\such.txt"), FileAccess::Read, FileShare::ReadWrite));
  EXPECT_FALSE(Opens(folder.MakeDirectory("dir"), FileAccess::Read, FileShare::ReadWrite));
  EXPECT_FALSE(Opens("NUL", FileAccess::Read, FileShare::ReadWrite));
  EXPECT_FALSE(Opens("", FileAccess::Read, FileShare::ReadWrite));
  EXPECT_FALSE(Opens(path + std::string("\0.bak", 5), FileAccess::Read, FileShare::ReadWrite));
}

TEST_F(Win32FilesTest, FindFirstFindsEntriesOfAnyKind) {
  std::string file = folder.Write("ws2_32.dll", "x");
  std::string hidden = folder.Write("hidden.dll", "x");
  ASSERT_TRUE(SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                                     FILE_ATTRIBUTE_READONLY));
  std::string directory = folder.MakeDirectory("wininet.dll");

  EXPECT_TRUE(files.FindFirst(file));
  EXPECT_TRUE(files.FindFirst(Upper(file)));
  EXPECT_TRUE(files.FindFirst(hidden));
  EXPECT_TRUE(files.FindFirst(directory));
  EXPECT_FALSE(files.FindFirst(folder.Child("wsock32.dll")));
  EXPECT_FALSE(files.FindFirst(folder.Child("missing\\ws2_32.dll")));
  // Exactly the path given: no wildcards, although entries would match them.
  EXPECT_FALSE(files.FindFirst(folder.Child("*")));
  EXPECT_FALSE(files.FindFirst(folder.Child("ws2_32.dl?")));
  EXPECT_FALSE(files.FindFirst(""));
}

}  // namespace
