// Opening, reading and finding files as both backends must do it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <tuple>
#include <vector>

#include "contract_rig.h"

namespace {

using platform::FileAccess;
using platform::FileShare;

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

template <typename Rig>
class FilesContract : public ::testing::Test {
 protected:
  bool Opens(const std::string& path, FileAccess access, FileShare share) {
    return rig.files().Open(path, access, share) != nullptr;
  }
  Rig rig;
};

TYPED_TEST_SUITE(FilesContract, contract::FilesRigs);

TYPED_TEST(FilesContract, SizeSequentialReadsAndClose) {
  std::string bytes(10000, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  auto file =
      this->rig.files().Open(this->rig.Write("data.bin", bytes), FileAccess::Read, FileShare::Read);
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
  EXPECT_EQ(file->Read(buffer, 0), 0u);

  EXPECT_TRUE(file->Close());
  EXPECT_FALSE(file->Close());
  EXPECT_FALSE(file->Read(buffer, 1).has_value());
  EXPECT_FALSE(file->Size().has_value());
}

TYPED_TEST(FilesContract, OnlyExistingFilesOpenAndReadOnlyOnlyForReading) {
  const std::string path = this->rig.Write("Name.TXT", "abc");
  const std::string read_only = this->rig.Write("ro.bin", "abc");
  this->rig.SetAttributes(read_only, this->rig.ReadOnlyAttribute);
  struct Case {
    std::string path;
    FileAccess access;
    bool opens;
  };
  const std::vector<Case> cases = {
      {Upper(path), FileAccess::Read, true},
      {path, FileAccess::ReadWrite, true},
      {read_only, FileAccess::Read, true},
      {read_only, FileAccess::ReadWrite, false},
      {this->rig.Child("missing.txt"), FileAccess::Read, false},
      {this->rig.Child("no\\such.txt"), FileAccess::Read, false},
      {this->rig.MakeDirectory("dir"), FileAccess::Read, false},
      {path + "\\", FileAccess::Read, false},
      {"", FileAccess::Read, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(this->Opens(c.path, c.access, FileShare::ReadWrite), c.opens) << c.path;
}

struct ShareCase {
  FileAccess held_access;
  FileShare held_share;
  FileAccess access;
  FileShare share;
  bool opens;
};

// Either side's share mode must admit the other's access, whether the first handle is
// another program's or this process's own.
TYPED_TEST(FilesContract, BothShareModesMustAdmitTheOtherAccess) {
  constexpr FileAccess R = FileAccess::Read, RW = FileAccess::ReadWrite;
  constexpr FileShare None = FileShare::None, Rd = FileShare::Read, All = FileShare::ReadWrite;
  const std::vector<ShareCase> cases = {
      // The checksum's two opens: size with RW sharing RW, then exclusive read.
      {RW, All, RW, All, true},
      {RW, All, R, None, false},
      {R, None, R, All, false},
      {R, None, RW, All, false},
      // A running executable: others read and share reading only.
      {R, Rd, RW, All, false},
      {R, Rd, R, All, true},
      {R, Rd, R, None, false},
      {R, Rd, R, Rd, true},
      {R, All, R, Rd, true},
      {RW, Rd, R, Rd, false},
      {RW, All, R, Rd, false},
      {R, All, RW, Rd, true}};
  const std::string path = this->rig.Write("shared.bin", "abc");
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const ShareCase& c = cases[i];
    {
      auto hold = this->rig.Hold(path, c.held_access, c.held_share);
      ASSERT_TRUE(hold) << i;
      EXPECT_EQ(this->Opens(path, c.access, c.share), c.opens) << "held by another, " << i;
    }
    auto mine = this->rig.files().Open(path, c.held_access, c.held_share);
    ASSERT_NE(mine, nullptr) << i;
    EXPECT_EQ(this->Opens(path, c.access, c.share), c.opens) << "held by us, " << i;
    EXPECT_TRUE(mine->Close());
  }
  EXPECT_TRUE(this->Opens(path, R, None)) << "every handle is given back";
}

TYPED_TEST(FilesContract, FindFirstFindsExactlyThePathGivenOfAnyKind) {
  const std::string file = this->rig.Write("ws2_32.dll", "x");
  const std::string hidden = this->rig.Write("hidden.dll", "x");
  this->rig.SetAttributes(
      hidden, this->rig.ReadOnlyAttribute | this->rig.HiddenAttribute | this->rig.SystemAttribute);
  const std::string directory = this->rig.MakeDirectory("wininet.dll");
  this->rig.Write("wininet.dll\\kernel32.dll", "x");
  const std::vector<std::pair<std::string, bool>> cases = {
      {file, true},
      {Upper(file), true},
      {hidden, true},
      {directory, true},
      {this->rig.Child("wsock32.dll"), false},
      {this->rig.Child("ws2_32"), false},
      {this->rig.Child("kernel32.dll"), false},  // no search below
      {this->rig.Child("missing\\ws2_32.dll"), false},
      // No wildcards, although entries would match them.
      {this->rig.Child("*"), false},
      {this->rig.Child("ws2_32.dl?"), false},
      {"", false},
  };
  for (const auto& [path, found] : cases)
    EXPECT_EQ(this->rig.files().FindFirst(path), found) << path;
}

// One file however its path is written; two files, a folder or nothing are not one.
TYPED_TEST(FilesContract, SameFileSeesOneFileUnderEveryFormOfItsPath) {
  const std::string file = this->rig.Write("mir.exe", "MZ");
  const std::string other = this->rig.Write("mirror.exe", "MZ");
  const std::string folder = this->rig.MakeDirectory("Mir");
  const std::vector<std::tuple<std::string, std::string, bool>> cases = {
      {file, file, true},
      {file, Upper(file), true},
      {file, this->rig.Child("Mir\\..\\mir.exe"), true},
      {file, other, false},
      {folder, folder, false},
      {file, this->rig.Child("missing.exe"), false},
      {"", "", false},
  };
  for (const auto& [a, b, same] : cases)
    EXPECT_EQ(this->rig.files().SameFile(a, b), same) << a << " / " << b;
}

// Names beyond the code page are reached as they are; the "?" that an 8-bit call would
// have made of them names nothing.
TYPED_TEST(FilesContract, NamesBeyondTheCodePageOpenFindAndTellTheirKind) {
  using platform::EntryKind;
  const std::string file = this->rig.Write("Мир.exe", "MZ");
  const std::string folder = this->rig.MakeDirectory("Игры");
  struct Case {
    std::string path;
    bool opens;
    bool found;
    EntryKind kind;
  };
  const std::vector<Case> cases = {
      {file, true, true, EntryKind::File},
      {folder, false, true, EntryKind::Directory},
      {this->rig.Child("???.exe"), false, false, EntryKind::Missing},
      {this->rig.Child("Игры\\mir.exe"), false, false, EntryKind::Missing},
      {this->rig.Child("Мир.exe\\"), false, false, EntryKind::Missing},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(this->Opens(c.path, FileAccess::Read, FileShare::ReadWrite), c.opens) << c.path;
    EXPECT_EQ(this->rig.files().FindFirst(c.path), c.found) << c.path;
    EXPECT_EQ(this->rig.files().KindOf(c.path), c.kind) << c.path;
  }
  auto opened = this->rig.files().Open(file, FileAccess::Read, FileShare::Read);
  ASSERT_NE(opened, nullptr);
  char bytes[4] = {};
  EXPECT_EQ(opened->Read(bytes, sizeof bytes), 2u);
  EXPECT_EQ(std::string(bytes, 2), "MZ");
}

}  // namespace
