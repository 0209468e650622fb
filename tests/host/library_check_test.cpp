#include "scan/library_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/memory/memory_files.h"
#include "tests/host/scan_test_support.h"

namespace {

using platform::Fault;
using ::testing::ElementsAre;

const std::string Complete = "Tesk Engine: Checks Complete";

class LibraryCheckTest : public ::testing::Test {
 protected:
  scan_test::ScanMachine m;

  void SetUp() override {
    m.StorePath("C:\\Games\\Mir\\mir.exe");
    m.files().AddFile("C:\\Games\\Mir\\mir.exe", "MZ");
  }
  void Check() { m.checks->CheckPlantedLibraries(); }
};

TEST_F(LibraryCheckTest, CleanDirectoryCompletes) {
  m.files().AddFile("C:\\Games\\Mir\\Data\\kernel32.dll", "");  // below: not looked at
  m.files().AddFile("C:\\Windows\\user32.dll", "");
  Check();
  EXPECT_THAT(m.lines(), ElementsAre(Complete));
  EXPECT_FALSE(m.red());
}

TEST_F(LibraryCheckTest, AnyEntryOfAWatchedNameIsFound) {
  struct Planted {
    const char* what;
    std::function<void(platform::MemoryFiles&)> plant;
    std::string line;
  };
  const std::vector<Planted> cases = {
      {"capital letters", [](auto& f) { f.AddFile("C:\\Games\\Mir\\USER32.DLL", "MZ"); },
       "Tesk Engine: Found user32.dll inside C:\\Games\\Mir\\"},
      {"a directory", [](auto& f) { f.AddDirectory("C:\\Games\\Mir\\ole32.dll"); },
       "Tesk Engine: Found ole32.dll inside C:\\Games\\Mir\\"},
      {"hidden and system",
       [](auto& f) {
         f.AddFile("C:\\Games\\Mir\\wsock32.dll", "",
                   platform::file_attribute::Hidden | platform::file_attribute::System |
                       platform::file_attribute::ReadOnly);
       },
       "Tesk Engine: Found wsock32.dll inside C:\\Games\\Mir\\"},
  };
  for (const Planted& c : cases) {
    SCOPED_TRACE(c.what);
    scan_test::ScanMachine fresh;
    fresh.StorePath("C:\\Games\\Mir\\mir.exe");
    c.plant(fresh.files());
    fresh.checks->CheckPlantedLibraries();
    EXPECT_THAT(fresh.lines(), ElementsAre(c.line));
    EXPECT_TRUE(fresh.red());
  }
}

TEST_F(LibraryCheckTest, SeveralNamesComeInTableOrder) {
  m.files().AddFile("C:\\Games\\Mir\\wsock32.dll", "");
  m.files().AddFile("C:\\Games\\Mir\\kernel32.dll", "");
  m.files().AddFile("C:\\Games\\Mir\\gdi32.dll", "");
  Check();
  EXPECT_THAT(m.lines(), ElementsAre("Tesk Engine: Found kernel32.dll inside C:\\Games\\Mir\\",
                                     "Tesk Engine: Found gdi32.dll inside C:\\Games\\Mir\\",
                                     "Tesk Engine: Found wsock32.dll inside C:\\Games\\Mir\\"));
}

TEST_F(LibraryCheckTest, WithoutPathTheWorkingDirectoryIsSearched) {
  m.registry().DeleteKey(scan_test::HKCU, settings::ProductKey);
  m.files().SetWorkingDirectory("C:\\Tools\\Quenlar");
  m.files().AddFile("C:\\Tools\\Quenlar\\advapi32.dll", "");
  Check();
  EXPECT_THAT(m.lines(), ElementsAre("Tesk Engine: Found advapi32.dll inside "));
}

TEST_F(LibraryCheckTest, FailedLookUpCountsAsNotFound) {
  m.files().AddFile("C:\\Games\\Mir\\kernel32.dll", "");
  m.files().AddFile("C:\\Games\\Mir\\comctl32.dll", "");
  m.files().faults().Arm(Fault{1, false, platform::FaultKind::Fail, "FindFirst"});
  Check();
  EXPECT_THAT(m.lines(), ElementsAre("Tesk Engine: Found comctl32.dll inside C:\\Games\\Mir\\"));
  EXPECT_EQ(m.files().faults().CallCount("FindFirst"), 8u);
}

}  // namespace
