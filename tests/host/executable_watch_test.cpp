#include "scan/executable_watch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/host/scan_test_support.h"

namespace {

using platform::RegistryValue;
using scan_test::HKCU;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Four bytes, zeros included.
std::string Bytes(const char (&text)[5]) { return std::string(text, 4); }

const std::string Changed = "Executable: Warning - Checksum changed!";
const std::string Ok = "Executable: Checksum OK";
const std::string NotFound = "Executable: Checksum not found in registry!";
const std::string SetUpDone = "Setup complete! Close and restart the utility!";
const std::string Unreadable = "Executable: Warning - Cannot read the game executable!";

class ExecutableWatchTest : public ::testing::Test {
 protected:
  scan_test::ScanMachine m;

  void SetUp() override {
    m.StorePath("C:\\Games\\Mir\\mir.exe");
    m.files().AddFile("C:\\Games\\Mir\\mir.exe", Bytes("\x12\x34\x00\x00"));  // checksum 4660
  }
  void StoreChecksum(const std::string& plain) {
    m.registry().SetValue(HKCU, settings::ChecksumKey, "Value", RegistryValue::Text(m.Seal(plain)));
  }
  std::optional<std::string> Stored() {
    return m.registry().Text(HKCU, settings::ChecksumKey, "Value");
  }
  void Check(bool accepting = false) { m.checks->CheckExecutable(accepting); }
};

TEST_F(ExecutableWatchTest, StoredChecksumDecidesTheLine) {
  StoreChecksum("4660");
  Check();
  EXPECT_THAT(m.lines(), ElementsAre(Ok));
  EXPECT_FALSE(m.red());
  EXPECT_FALSE(m.findings.ExecutableChanged);

  // One byte changed: reported, and reported again until accepted.
  m.files().AddFile("C:\\Games\\Mir\\mir.exe", Bytes("\x12\x35\x00\x00"));
  for (int scan = 0; scan < 2; ++scan) {
    Check();
    EXPECT_EQ(m.lines().back(), Changed);
  }
  EXPECT_TRUE(m.red());
  EXPECT_TRUE(m.findings.ExecutableChanged);
  EXPECT_EQ(Stored(), m.Seal("4660"));
}

TEST_F(ExecutableWatchTest, KeyWithoutValueOrWithAnotherTypeIsChanged) {
  m.registry().CreateKey(HKCU, settings::ChecksumKey);
  Check();
  m.registry().SetValue(HKCU, settings::ChecksumKey, "Value", RegistryValue::Dword(4660));
  Check();
  EXPECT_THAT(m.lines(), ElementsAre(Changed, Changed));
  EXPECT_TRUE(m.findings.ExecutableChanged);
  EXPECT_EQ(m.registry().Value(HKCU, settings::ChecksumKey, "Value")->kind,
            platform::ValueKind::Dword);
}

TEST_F(ExecutableWatchTest, MissingChecksumIsReportedAndStored) {
  Check();
  EXPECT_THAT(m.lines(), ElementsAre(NotFound));
  EXPECT_TRUE(m.red());
  EXPECT_FALSE(m.findings.ExecutableChanged);
  EXPECT_EQ(Stored(), m.Seal("4660"));

  Check();
  EXPECT_EQ(m.lines().back(), Ok);
}

TEST_F(ExecutableWatchTest, FirstRunGivesOnlyTheSetUpLine) {
  m.findings.FirstRun = true;
  Check();
  EXPECT_THAT(m.lines(), ElementsAre(SetUpDone));
  EXPECT_FALSE(m.red());
  EXPECT_EQ(Stored(), m.Seal("4660"));
}

TEST_F(ExecutableWatchTest, AcceptingStoresSilently) {
  Check(true);
  EXPECT_THAT(m.lines(), IsEmpty());
  EXPECT_FALSE(m.red());
  EXPECT_EQ(Stored(), m.Seal("4660"));
}

// An executable that cannot be read is never "OK", whatever is stored: not even against
// the 0 that an unreadable file once summed to. The stored checksum stays as it is, and
// none is stored for it.
TEST_F(ExecutableWatchTest, AnUnreadableExecutableIsReportedAndNothingStored) {
  struct Case {
    const char* what;
    std::optional<std::string> stored;  // the checksum text stored before, if any
    bool firstRun;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {"0 stored", "0", false, {Unreadable}},
      {"4660 stored", "4660", false, {Unreadable}},
      {"first run", std::nullopt, true, {SetUpDone, Unreadable}},
      {"nothing stored", std::nullopt, false, {NotFound, Unreadable}},
  };
  for (const char* path : {"", "C:\\Games\\Mir\\gone.exe", "C:\\Games\\Mir\\mir.exe"}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(path) + ", " + c.what);
      scan_test::ScanMachine fresh;
      fresh.files().AddFile("C:\\Games\\Mir\\mir.exe", Bytes("\x12\x34\x00\x00"));
      if (*path) fresh.StorePath(path);
      // The game running without sharing its file for reading.
      auto hold = fresh.files().HoldOpen("C:\\Games\\Mir\\mir.exe", platform::FileAccess::Read,
                                         platform::FileShare::None);
      if (c.stored)
        fresh.registry().SetValue(HKCU, settings::ChecksumKey, "Value",
                                  RegistryValue::Text(fresh.Seal(*c.stored)));
      fresh.findings.FirstRun = c.firstRun;
      fresh.checks->CheckExecutable(false);
      EXPECT_EQ(fresh.lines(), c.lines);
      EXPECT_TRUE(fresh.red());
      EXPECT_FALSE(fresh.findings.ExecutableChanged);
      EXPECT_EQ(fresh.registry().Text(HKCU, settings::ChecksumKey, "Value"),
                c.stored ? std::optional(fresh.Seal(*c.stored)) : std::nullopt);
    }
  }
}

// The fingerprint beside the checksum: stored with it, added silently to a checksum stored
// without one, and a change of either is a changed executable.
TEST(ExecutableFingerprint, ChangeOfEitherValueIsAChangedExecutable) {
  // SHA-256 of the four bytes 12 34 00 00.
  const std::string print = "c0cfaae70d8b3aa032835f0bc42314580d7ad216265a1019c40926f20864df3d";
  const std::string same = Bytes("\x12\x34\x00\x00"), kept = Bytes("\x13\x34\x01\x00"),
                    other = Bytes("\x12\x35\x00\x00");
  struct Case {
    const char* what;
    std::optional<std::string> sum, digest;  // stored before, plain; the sum stays 4660
    std::string file;                        // empty: the game's, held without sharing
    bool accepting;
    std::vector<std::string> lines;
    std::optional<std::string> digestAfter;
  };
  const std::vector<Case> cases = {
      {"nothing stored", {}, {}, same, false, {NotFound}, print},
      {"accepted", {}, {}, same, true, {}, print},
      {"both match", "4660", print, same, false, {Ok}, print},
      {"patch keeps the checksum", "4660", print, kept, false, {Changed}, print},
      {"checksum changed", "4660", print, other, false, {Changed}, print},
      {"no fingerprint yet", "4660", {}, same, false, {Ok}, print},
      {"no fingerprint yet, checksum changed", "4660", {}, other, false, {Changed}, {}},
      {"unreadable", "4660", print, "", false, {Unreadable}, print},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    scan_test::ScanMachine m;
    m.StorePath("C:\\Games\\Mir\\mir.exe");
    m.files().AddFile("C:\\Games\\Mir\\mir.exe", c.file.empty() ? same : c.file);
    platform::FileHold hold;
    if (c.file.empty())
      hold = m.files().HoldOpen("C:\\Games\\Mir\\mir.exe", platform::FileAccess::Read,
                                platform::FileShare::None);
    for (auto [name, plain] : {std::pair("Value", c.sum), std::pair("Digest", c.digest)})
      if (plain)
        m.registry().SetValue(HKCU, settings::ChecksumKey, name,
                              RegistryValue::Text(m.Seal(*plain)));
    m.checks->CheckExecutable(c.accepting);
    EXPECT_EQ(m.lines(), c.lines);
    EXPECT_EQ(m.findings.ExecutableChanged, c.lines == std::vector<std::string>{Changed});
    EXPECT_EQ(m.registry().Text(HKCU, settings::ChecksumKey, "Value"), m.Seal("4660"));
    EXPECT_EQ(m.registry().Text(HKCU, settings::ChecksumKey, "Digest"),
              c.digestAfter ? std::optional(m.Seal(*c.digestAfter)) : std::nullopt);
  }
}

}  // namespace
