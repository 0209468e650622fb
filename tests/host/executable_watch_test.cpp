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

TEST_F(ExecutableWatchTest, MissingPathOrFileChecksAsZero) {
  m.registry().DeleteValue(HKCU, settings::ProductKey, "Path");
  Check(true);
  EXPECT_EQ(Stored(), m.Seal("0"));
  Check();
  EXPECT_THAT(m.lines(), ElementsAre(Ok));

  m.StorePath("C:\\Games\\Mir\\gone.exe");
  Check();
  EXPECT_EQ(m.lines().back(), Ok);

  StoreChecksum("4660");
  Check();
  EXPECT_EQ(m.lines().back(), Changed);
}

}  // namespace
