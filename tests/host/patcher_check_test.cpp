#include "scan/patcher_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/game_client.h"
#include "scan/game_paths.h"
#include "tests/host/scan_test_support.h"

namespace {

using platform::Fault;
using platform::FaultKind;
using platform::FileAccess;
using platform::FileShare;
using ::testing::ElementsAre;

const std::string kOk = "Autopatch: ftp.ini OK";
const std::string kModified = "Autopatch: ftp.ini modified!";
const std::string kSite = std::string("site=") + game_client::OfficialPatchSite;
const char* const kIni = "C:\\Games\\Mir\\ftp.ini";

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
    fresh.files().AddFile(kIni, contents);
    fresh.checks->CheckPatcherConfig();
    EXPECT_EQ(fresh.lines().size(), 1u);
    const bool ok = fresh.lines().back() == kOk;
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
      {"the line alone", kSite, true},
      {"capital letters", Upper(kSite), true},
      {"blank before", " " + kSite, false},
      {"blank after", kSite + " ", false},
      {"slash after", kSite + "/", false},
      {"tab after", kSite + "\t", false},
      {"in the middle, CR LF", "[ftp]\r\n" + kSite + "\r\nport=21\r\n", true},
      {"after a CR alone", "[ftp]\r" + kSite, true},
      {"another site", "site=patch.elsewhere.example\r\n", false},
      {"LF ends no line", "[ftp]\n" + kSite + "\nport=21\n", false},
      {"LF after the only line", kSite + "\n", false},
      {"Ctrl-Z before", "[ftp]\r\n\x1a\r\n" + kSite + "\r\n", false},
      {"Ctrl-Z inside", "[ftp]\x1a" + kSite, false},
      {"Ctrl-Z right after", kSite + "\x1a" + "junk", true},
      {"empty", "", false},
      {"lines around are long", longLine + "\r\n" + kSite + "\r\n" + longLine, true},
      // The expected text is a prefix of a longer line: still no match.
      {"longer line after CR LF", "a\r\n" + kSite + longLine, false},
      {"longer line at the start", kSite + "x", false},
      {"binary bytes", std::string("\0\xff\r\n\0", 5) + kSite + "\r\n", false},
      {"binary then the line", std::string("\0\xff\0", 3) + "\r\n" + kSite, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(VerdictFor(c.contents), c.ok);
  }
}

TEST_F(PatcherCheckTest, MissingOrUnreadableFileIsModified) {
  Check();  // no file
  m.files().AddFile(kIni, kSite + "\r\n" + std::string(200000, 'x'));
  m.files().faults().Arm(Fault{2, false, FaultKind::Fail, "Read"});
  Check();  // the match was read, then a read failed
  m.files().faults().Arm(Fault{1, false, FaultKind::Fail, "Close"});
  Check();
  m.files().faults().Arm(Fault{1, false, FaultKind::Fail, "Open"});
  Check();
  EXPECT_THAT(m.lines(), ElementsAre(kModified, kModified, kModified, kModified));
  EXPECT_EQ(m.files().OpenHandleCount(), 0u);
  Check();
  EXPECT_EQ(m.lines().back(), kOk);
}

TEST_F(PatcherCheckTest, FileHeldOpenByThePatcherIsRead) {
  m.files().AddFile(kIni, kSite);
  auto hold = m.files().HoldOpen(kIni, FileAccess::ReadWrite, FileShare::ReadWrite);
  ASSERT_TRUE(hold.held());
  Check();
  EXPECT_THAT(m.lines(), ElementsAre(kOk));
}

TEST_F(PatcherCheckTest, DirectoryIsCutAtSevenCharacters) {
  m.StorePath("C:\\Games\\Mir\\client.exe");
  m.files().AddFile(kIni, kSite);
  Check();
  EXPECT_THAT(m.lines(), ElementsAre(kModified));
}

TEST_F(PatcherCheckTest, WithoutPathTheWorkingDirectoryIsRead) {
  m.registry().DeleteKey(scan_test::HKCU, settings::ProductKey);
  m.files().SetWorkingDirectory("C:\\Tools\\Quenlar");
  m.files().AddFile("C:\\Tools\\Quenlar\\ftp.ini", kSite);
  Check();
  EXPECT_THAT(m.lines(), ElementsAre(kOk));
}

// The scan goes on after an unexpected registry error: the check ends with the box.
TEST_F(PatcherCheckTest, UnexpectedRegistryErrorEndsOnlyThisCheck) {
  m.files().AddFile(kIni, kSite);
  m.registry().faults().Arm(Fault{1, false, FaultKind::Throw, "ReadValue"});
  EXPECT_NO_THROW(Check());
  EXPECT_THAT(m.boxes(), ElementsAre(scan_test::Box{scan_test::MessageKind::Error,
                                                    "Error opening registry!"}));
  EXPECT_TRUE(m.lines().empty());
  EXPECT_TRUE(m.red());
}

}  // namespace
