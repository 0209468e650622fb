#include "scan/patcher_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "game_client/contract.h"
#include "scan/game_paths.h"
#include "tests/host/scan_test_support.h"

namespace {

using platform::Fault;
using platform::FaultKind;
using platform::FileAccess;
using platform::FileShare;
using ::testing::ElementsAre;

const std::string Ok = "Autopatch: ftp.ini OK";
const std::string Modified = "Autopatch: ftp.ini modified!";
const std::string Site = std::string("site=") + game_client::OfficialPatchSite;
const char* const Ini = "C:\\Games\\Mir\\ftp.ini";

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

TEST(GamePaths, CutsFixedLengths) {
  EXPECT_EQ(GameDirectory("C:\\Games\\Mir\\mir.exe"), "C:\\Games\\Mir\\");
  EXPECT_EQ(GameWorkingDirectory("C:\\Games\\Mir\\mir.exe"), "C:\\Games\\Mir");
  EXPECT_EQ(GameDirectory("C:\\Games\\client.exe"), "C:\\Games\\cli");
  EXPECT_EQ(GameDirectory("mir.exe"), "");
  EXPECT_EQ(GameWorkingDirectory("mir.exe"), "");
  EXPECT_EQ(GameDirectory("amir.exe"), "a");
  EXPECT_EQ(GameWorkingDirectory("amir.exe"), "");
  EXPECT_EQ(GameDirectory(""), "");
}

class PatcherCheckTest : public ::testing::Test {
 protected:
  scan_test::ScanMachine m;

  void SetUp() override { m.StorePath("C:\\Games\\Mir\\mir.exe"); }
  void Check() { m.checks->CheckPatcherConfig(); }
  bool VerdictFor(const std::string& contents) {
    scan_test::ScanMachine fresh;
    fresh.StorePath("C:\\Games\\Mir\\mir.exe");
    fresh.files().AddFile(Ini, contents);
    fresh.checks->CheckPatcherConfig();
    EXPECT_EQ(fresh.lines().size(), 1u);
    const bool ok = fresh.lines().back() == Ok;
    EXPECT_EQ(fresh.red(), !ok);
    return ok;
  }
};

TEST_F(PatcherCheckTest, OneExactLineAnywhereIsEnough) {
  struct Case {
    const char* what;
    std::string contents;
    bool ok;
  };
  const std::string longLine(300000, 'x');
  const std::vector<Case> cases = {
      {"the line alone", Site, true},
      {"capital letters", Upper(Site), true},
      {"blank before", " " + Site, false},
      {"blank after", Site + " ", false},
      {"slash after", Site + "/", false},
      {"tab after", Site + "\t", false},
      {"in the middle, CR LF", "[ftp]\r\n" + Site + "\r\nport=21\r\n", true},
      {"after a CR alone", "[ftp]\r" + Site, true},
      {"another site", "site=patch.elsewhere.example\r\n", false},
      {"LF ends no line", "[ftp]\n" + Site + "\nport=21\n", false},
      {"LF after the only line", Site + "\n", false},
      {"Ctrl-Z before", "[ftp]\r\n\x1a\r\n" + Site + "\r\n", false},
      {"Ctrl-Z inside", "[ftp]\x1a" + Site, false},
      {"Ctrl-Z right after", Site + "\x1a" + "junk", true},
      {"empty", "", false},
      {"lines around are long", longLine + "\r\n" + Site + "\r\n" + longLine, true},
      // The expected text is a prefix of a longer line: still no match.
      {"longer line after CR LF", "a\r\n" + Site + longLine, false},
      {"longer line at the start", Site + "x", false},
      {"binary bytes", std::string("\0\xff\r\n\0", 5) + Site + "\r\n", false},
      {"binary then the line", std::string("\0\xff\0", 3) + "\r\n" + Site, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(VerdictFor(c.contents), c.ok);
  }
}

TEST_F(PatcherCheckTest, MissingOrUnreadableFileIsModified) {
  Check();  // no file
  m.files().AddFile(Ini, Site + "\r\n" + std::string(200000, 'x'));
  m.files().faults().Arm(Fault{2, false, FaultKind::Fail, "Read"});
  Check();  // the match was read, then a read failed
  m.files().faults().Arm(Fault{1, false, FaultKind::Fail, "Close"});
  Check();
  m.files().faults().Arm(Fault{1, false, FaultKind::Fail, "Open"});
  Check();
  EXPECT_THAT(m.lines(), ElementsAre(Modified, Modified, Modified, Modified));
  EXPECT_EQ(m.files().OpenHandleCount(), 0u);
  Check();
  EXPECT_EQ(m.lines().back(), Ok);
}

TEST_F(PatcherCheckTest, FileHeldOpenByThePatcherIsRead) {
  m.files().AddFile(Ini, Site);
  auto hold = m.files().HoldOpen(Ini, FileAccess::ReadWrite, FileShare::ReadWrite);
  ASSERT_TRUE(hold.held());
  Check();
  EXPECT_THAT(m.lines(), ElementsAre(Ok));
}

TEST_F(PatcherCheckTest, DirectoryIsCutAtSevenCharacters) {
  m.StorePath("C:\\Games\\Mir\\client.exe");
  m.files().AddFile(Ini, Site);
  Check();
  EXPECT_THAT(m.lines(), ElementsAre(Modified));
}

TEST_F(PatcherCheckTest, WithoutPathTheWorkingDirectoryIsRead) {
  m.registry().DeleteKey(scan_test::HKCU, settings::ProductKey);
  m.files().SetWorkingDirectory("C:\\Tools\\Quenlar");
  m.files().AddFile("C:\\Tools\\Quenlar\\ftp.ini", Site);
  Check();
  EXPECT_THAT(m.lines(), ElementsAre(Ok));
}

// The scan goes on after an unexpected registry error: the check ends with the box.
TEST_F(PatcherCheckTest, UnexpectedRegistryErrorEndsOnlyThisCheck) {
  m.files().AddFile(Ini, Site);
  m.registry().faults().Arm(Fault{1, false, FaultKind::Throw, "ReadValue"});
  EXPECT_NO_THROW(Check());
  EXPECT_THAT(m.boxes(), ElementsAre(scan_test::Box{scan_test::MessageKind::Error,
                                                    "Error opening registry!"}));
  EXPECT_TRUE(m.lines().empty());
  EXPECT_TRUE(m.red());
}

}  // namespace
