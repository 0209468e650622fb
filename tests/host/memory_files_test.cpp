#include "platform/memory/memory_files.h"

#include <gtest/gtest.h>

namespace fa = platform::file_attribute;
using platform::File;
using platform::FileAccess;
using platform::FileShare;
using platform::MemoryFiles;

namespace {

std::string ReadAll(File& f, std::size_t chunk = 3) {
  std::string out, buf(chunk, '\0');
  while (auto n = f.Read(buf.data(), buf.size())) {
    if (*n == 0) break;
    out.append(buf, 0, *n);
  }
  return out;
}

TEST(MemoryFiles, OpensAndReadsWithWindowsPathsInAnyLetterCase) {
  MemoryFiles fs;
  fs.AddFile("C:\\Games\\Mir\\mir.exe", "0123456789");
  for (const char* p : {"c:\\games\\MIR\\MIR.EXE", "C:/Games/Mir/mir.exe", "\\Games\\Mir\\mir.exe",
                        "C:\\Games\\.\\Other\\..\\Mir\\mir.exe"}) {
    auto f = fs.Open(p, FileAccess::Read, FileShare::ReadWrite);
    ASSERT_TRUE(f) << p;
    EXPECT_EQ(f->Size(), 10u);
    EXPECT_EQ(ReadAll(*f), "0123456789");
    EXPECT_EQ(f->Read(nullptr, 0), 0u);
    EXPECT_TRUE(f->Close());
  }
  fs.SetWorkingDirectory("c:\\games\\mir");
  EXPECT_EQ(fs.WorkingDirectory(), "C:\\games\\mir");
  EXPECT_TRUE(fs.Open("mir.exe", FileAccess::Read, FileShare::ReadWrite));
  EXPECT_TRUE(fs.Open("C:mir.exe", FileAccess::Read, FileShare::ReadWrite));
  EXPECT_TRUE(fs.Open("..\\Mir\\mir.exe", FileAccess::Read, FileShare::ReadWrite));
  EXPECT_FALSE(fs.Open("D:\\Games\\Mir\\mir.exe", FileAccess::Read, FileShare::ReadWrite));
  EXPECT_FALSE(fs.Open("C:\\Games\\Mir\\mir.exe\\", FileAccess::Read, FileShare::ReadWrite));
  EXPECT_FALSE(fs.Open("", FileAccess::Read, FileShare::ReadWrite));
  EXPECT_FALSE(fs.Open("\\\\server\\share\\mir.exe", FileAccess::Read, FileShare::ReadWrite));
  EXPECT_FALSE(fs.Open("..\\..\\..\\..", FileAccess::Read, FileShare::ReadWrite));
}

// Reading and closing are checked against Windows in the contract suite; here, that
// every handle is given back.
TEST(MemoryFiles, CloseOrDestructionGivesTheHandleBack) {
  MemoryFiles fs;
  fs.AddFile("C:\\a.bin", std::string("\x00\xFF\x10", 3));
  auto f = fs.Open("C:\\a.bin", FileAccess::Read, FileShare::None);
  ASSERT_TRUE(f);
  EXPECT_EQ(fs.OpenHandleCount(), 1u);
  EXPECT_TRUE(f->Close());
  EXPECT_EQ(fs.OpenHandleCount(), 0u);
  fs.Open("C:\\a.bin", FileAccess::Read, FileShare::None);
  EXPECT_EQ(fs.OpenHandleCount(), 0u);
}

TEST(MemoryFiles, ReadOnlyFilesAndDirectoriesCannotBeOpenedForWriting) {
  MemoryFiles fs;
  fs.AddFile("C:\\ro.txt", "x", fa::ReadOnly | fa::Hidden);
  fs.AddDirectory("C:\\dir");
  EXPECT_FALSE(fs.Open("C:\\ro.txt", FileAccess::ReadWrite, FileShare::ReadWrite));
  fs.SetAttributes("C:\\ro.txt", 0);
  EXPECT_TRUE(fs.Open("C:\\ro.txt", FileAccess::ReadWrite, FileShare::ReadWrite));
  EXPECT_EQ(fs.Attributes("C:\\dir"), fa::Directory);
  EXPECT_THROW(fs.AddFile("C:\\dir", "x"), std::invalid_argument);
  EXPECT_THROW(fs.AddFile("C:\\ro.txt\\inner", "x"), std::invalid_argument);
}

TEST(MemoryFiles, HoldReleasesOnDestructionAndRefusesWhatCannotBeOpened) {
  MemoryFiles fs;
  fs.AddFile("C:\\mir.exe", "MZ");
  {
    auto hold = fs.HoldOpen("c:\\MIR.exe", FileAccess::Read, FileShare::Read);
    ASSERT_TRUE(hold.held());
    EXPECT_FALSE(fs.Open("C:\\mir.exe", FileAccess::ReadWrite, FileShare::ReadWrite));
    EXPECT_EQ(fs.OpenHandleCount(), 0u);  // holds are not this process's handles
    auto moved = std::move(hold);
    EXPECT_FALSE(hold.held());
    EXPECT_FALSE(fs.Open("C:\\mir.exe", FileAccess::ReadWrite, FileShare::ReadWrite));
  }
  EXPECT_TRUE(fs.Open("C:\\mir.exe", FileAccess::ReadWrite, FileShare::ReadWrite));
  auto exclusive = fs.Open("C:\\mir.exe", FileAccess::Read, FileShare::None);
  EXPECT_FALSE(fs.HoldOpen("C:\\mir.exe", FileAccess::Read, FileShare::ReadWrite).held());
  EXPECT_FALSE(fs.HoldOpen("C:\\missing", FileAccess::Read, FileShare::ReadWrite).held());
}

TEST(MemoryFiles, FindFirstFollowsTheWorkingDirectoryAndRemovals) {
  MemoryFiles fs;
  fs.AddFile("C:\\Mir\\USER32.DLL", "");
  fs.AddFile("C:\\Mir\\sub\\kernel32.dll", "");
  EXPECT_TRUE(fs.FindFirst("c:\\mir"));
  EXPECT_FALSE(fs.FindFirst("C:\\"));
  fs.SetWorkingDirectory("C:\\Mir");
  EXPECT_TRUE(fs.FindFirst("user32.dll"));
  EXPECT_TRUE(fs.Remove("C:\\MIR"));
  EXPECT_FALSE(fs.FindFirst("C:\\Mir\\sub\\kernel32.dll"));
  EXPECT_FALSE(fs.Remove("C:\\Mir"));
}

TEST(MemoryFiles, OpenHandleKeepsTheContentsItOpened) {
  MemoryFiles fs;
  fs.AddFile("C:\\f", "old");
  auto f = fs.Open("C:\\f", FileAccess::Read, FileShare::ReadWrite);
  fs.AddFile("C:\\F", "newer");
  EXPECT_EQ(ReadAll(*f), "old");
  EXPECT_EQ(fs.Contents("c:\\f"), "newer");
}

TEST(MemoryFilesFaults, EachOperationCanBeMadeToFail) {
  MemoryFiles fs;
  fs.AddFile("C:\\f", "abc");
  fs.faults().FailNth(1);
  EXPECT_FALSE(fs.Open("C:\\f", FileAccess::Read, FileShare::ReadWrite));
  fs.faults().FailNth(1);
  EXPECT_FALSE(fs.FindFirst("C:\\f"));

  auto f = fs.Open("C:\\f", FileAccess::Read, FileShare::None);
  ASSERT_TRUE(f);
  fs.faults().FailNth(1);
  EXPECT_FALSE(f->Size());
  char b[4];
  fs.faults().Arm({2, false, platform::FaultKind::Fail, "Read"});
  EXPECT_EQ(f->Read(b, 1), 1u);
  EXPECT_FALSE(f->Read(b, 1));
  EXPECT_EQ(f->Read(b, 4), 2u);  // the position did not move on the failed read
  fs.faults().FailNth(1, platform::FaultKind::Throw);  // plain failure for files
  EXPECT_FALSE(f->Close());
  EXPECT_EQ(fs.OpenHandleCount(), 0u);  // a failed close still gives the handle back
  EXPECT_TRUE(fs.Open("C:\\f", FileAccess::Read, FileShare::None));

  fs.faults().FailFrom(1);
  EXPECT_FALSE(fs.FindFirst("C:\\f"));
  EXPECT_FALSE(fs.Open("C:\\f", FileAccess::Read, FileShare::None));
  EXPECT_TRUE(fs.Exists("C:\\f"));  // helpers are not affected

  const auto& j = fs.faults().journal();
  ASSERT_FALSE(j.empty());
  EXPECT_EQ(j.back().operation, "Open");
  EXPECT_EQ(j.back().path, "C:\\f");
  EXPECT_TRUE(j.back().faulted);
  EXPECT_EQ(fs.faults().CallCount("Close"), 1u);
}

}  // namespace
