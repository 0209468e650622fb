#include "scan/autostart_watch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "tests/host/scan_test_support.h"

namespace {

using platform::Fault;
using platform::FaultKind;
using platform::RegistryValue;
using scan_test::Box;
using scan_test::HKCU;
using scan_test::HKLM;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr AutostartScope User = AutostartScope::User;
constexpr AutostartScope Local = AutostartScope::Local;

const std::string& Question = scan_test::FirstTimeQuestion;
const std::string Deleted = "Something has deleted the protection entries from the registry!";
const std::string CapitalM = "Registry: Warning - Modifications detected!";
const std::string W = "Registry: Warning - modifications detected!";
const std::string UserDone = "Registry: User checks complete";
const std::string LocalDone = "Registry: Local checks complete";
constexpr platform::RootKey HKLM32 = platform::RootKey::LocalMachine32;

class AutostartWatchTest : public ::testing::Test {
 protected:
  scan_test::ScanMachine m;

  void SetUp() override {
    m.SetRunEntry(HKCU, "Messenger", "C:\\Chat\\chat.exe /tray");
    m.SetRunEntry(HKLM, "Sound", "C:\\Windows\\snd.exe");
    m.SetRunEntry(HKLM32, "Updater", "C:\\Tools\\upd32.exe");
  }

  // What the scan driver does before its executable check.
  void Scan() {
    m.checks->SnapshotAutostart(User, false);
    m.checks->SnapshotAutostart(Local, false);
    if (!m.findings.FirstRun) m.checks->CompareAutostart(User);
    if (!m.findings.FirstRun) m.checks->CompareAutostart(Local);
  }
  // A later start of the program on the same machine.
  void Restart() {
    m.findings = Findings{};
    m.log.ClearBlack();
    m.MarkBoxes();
  }
  std::optional<std::string> Snapshot(const char* key, const std::string& name) {
    return m.registry().Text(HKCU, key, name);
  }
};

TEST_F(AutostartWatchTest, FirstRunYesSetsUpAndLogsNothing) {
  m.Answer(Question, scan_test::MessageAnswer::Yes);
  m.toolkit().ScriptOpenDialog("D:\\Mir\\mir.exe");
  Scan();

  EXPECT_THAT(m.boxes(), ElementsAre(Box{scan_test::MessageKind::Confirmation, Question}));
  EXPECT_TRUE(m.findings.FirstRun);
  EXPECT_FALSE(m.findings.AutostartChanged);
  EXPECT_THAT(m.lines(), IsEmpty());
  EXPECT_FALSE(m.red());
  ASSERT_EQ(m.toolkit().openDialogs().size(), 1u);
  EXPECT_EQ(m.toolkit().openDialogs()[0].spec.title, "Select Legend of Mir Executable");
  EXPECT_EQ(m.registry().Text(HKCU, settings::ProductKey, "Path"), m.Seal("D:\\Mir\\mir.exe"));
  // The own entry is written before the snapshot, so the snapshot holds it.
  EXPECT_EQ(m.registry().Text(HKCU, settings::RunKey, "Quenlar"), m.programPath());
  EXPECT_THAT(m.registry().ValueNamesOf(HKCU, settings::UserKey),
              ElementsAre("Messenger", "Quenlar"));
  EXPECT_EQ(Snapshot(settings::UserKey, "Quenlar"), m.Seal(m.programPath()));
  EXPECT_EQ(Snapshot(settings::LocalKey, "Sound"), m.Seal("C:\\Windows\\snd.exe"));
  EXPECT_EQ(Snapshot(settings::Local32Key, "Updater"), m.Seal("C:\\Tools\\upd32.exe"));

  Restart();
  Scan();
  EXPECT_THAT(m.lines(), ElementsAre(UserDone, LocalDone));
  EXPECT_THAT(m.boxes(), IsEmpty());
}

TEST_F(AutostartWatchTest, CancelledDialogStoresThePresetName) {
  m.Answer(Question, scan_test::MessageAnswer::Yes);
  m.toolkit().ScriptOpenDialog(std::nullopt);
  Scan();
  EXPECT_EQ(m.registry().Text(HKCU, settings::ProductKey, "Path"), m.Seal("mir.exe"));
}

TEST_F(AutostartWatchTest, NoToBothReportsThenComparesCleanly) {
  m.Answer(Question, scan_test::MessageAnswer::No);
  m.Answer(Question, scan_test::MessageAnswer::No);
  Scan();

  const Box question{scan_test::MessageKind::Confirmation, Question};
  const Box deleted{scan_test::MessageKind::Information, Deleted};
  EXPECT_THAT(m.boxes(), ElementsAre(question, deleted, question, deleted));
  EXPECT_THAT(m.lines(), ElementsAre(CapitalM, CapitalM, UserDone, LocalDone));
  EXPECT_TRUE(m.red());
  EXPECT_TRUE(m.findings.AutostartChanged);
  EXPECT_FALSE(m.findings.FirstRun);
  EXPECT_EQ(m.registry().Text(HKCU, settings::RunKey, "Quenlar"), std::nullopt);
  EXPECT_THAT(m.toolkit().openDialogs(), IsEmpty());
}

TEST_F(AutostartWatchTest, NoThenYesReportsTheOwnEntryAtTheNextStart) {
  m.Answer(Question, scan_test::MessageAnswer::No);
  m.Answer(Question, scan_test::MessageAnswer::Yes);
  m.toolkit().ScriptOpenDialog(std::nullopt);
  Scan();
  EXPECT_THAT(m.lines(), ElementsAre(CapitalM));
  EXPECT_TRUE(m.findings.FirstRun);
  EXPECT_EQ(Snapshot(settings::UserKey, "Quenlar"), std::nullopt);

  Restart();
  Scan();
  EXPECT_THAT(m.lines(), ElementsAre(W, "*** Modified entry - " + m.programPath(), W, LocalDone));
  EXPECT_TRUE(m.findings.AutostartChanged);
}

struct CompareRow {
  const char* change;
  std::function<void(scan_test::ScanMachine&)> apply;
  std::vector<std::string> lines;
};

TEST_F(AutostartWatchTest, ComparisonReportsEveryKindOfChange) {
  const std::vector<CompareRow> rows = {
      {"nothing", [](auto&) {}, {UserDone}},
      {"data changed",
       [](auto& m) { m.SetRunEntry(HKCU, "Messenger", "C:\\evil.exe"); },
       {W, "*** Modified entry - C:\\evil.exe"}},
      {"data differs in case only",
       [](auto& m) { m.SetRunEntry(HKCU, "Messenger", "C:\\CHAT\\chat.exe /tray"); },
       {W, "*** Modified entry - C:\\CHAT\\chat.exe /tray"}},
      {"name differs in case only",
       [](auto& m) {
         m.registry().DeleteValue(HKCU, settings::RunKey, "Messenger");
         m.SetRunEntry(HKCU, "MESSENGER", "C:\\Chat\\chat.exe /tray");
       },
       {UserDone}},
      {"added with data",
       [](auto& m) { m.SetRunEntry(HKCU, "Trojan", "C:\\t.exe"); },
       {W, "*** Modified entry - C:\\t.exe", W}},
      {"added empty", [](auto& m) { m.SetRunEntry(HKCU, "Blank", ""); }, {W}},
      {"removed", [](auto& m) { m.registry().DeleteValue(HKCU, settings::RunKey, "Pad"); }, {W}},
      {"renamed, data kept",
       [](auto& m) {
         m.registry().DeleteValue(HKCU, settings::RunKey, "Pad");
         m.SetRunEntry(HKCU, "Pad2", "C:\\pad.exe");
       },
       {W, "*** Modified entry - C:\\pad.exe"}},
      {"one removed, another added",
       [](auto& m) {
         m.registry().DeleteValue(HKCU, settings::RunKey, "Pad");
         m.SetRunEntry(HKCU, "Other", "C:\\other.exe");
       },
       {W, "*** Modified entry - C:\\other.exe"}},
      {"data no longer text",
       [](auto& m) {
         m.registry().SetValue(HKCU, settings::RunKey, "Pad", RegistryValue::Dword(7));
       },
       {W}},
  };
  for (const CompareRow& row : rows) {
    SCOPED_TRACE(row.change);
    scan_test::ScanMachine fresh;
    fresh.SetRunEntry(HKCU, "Messenger", "C:\\Chat\\chat.exe /tray");
    fresh.SetRunEntry(HKCU, "Pad", "C:\\pad.exe");
    fresh.checks->SnapshotAutostart(User, true);
    row.apply(fresh);
    fresh.checks->CompareAutostart(User);
    EXPECT_EQ(fresh.lines(), row.lines);
    const bool warned = row.lines.front() == W;
    EXPECT_EQ(fresh.red(), warned);
    EXPECT_EQ(fresh.findings.AutostartChanged, warned);
    EXPECT_THAT(fresh.boxes(), IsEmpty());
  }
}

// Names and data beyond the code page ("?" through the 8-bit calls) keep their own
// identity: each entry has its own snapshot value, and a change of its data shows.
TEST_F(AutostartWatchTest, EntriesBeyondTheCodePageAreWatchedLikeAnyOther) {
  const std::string jp = "\xE6\x97\xA5\xE6\x9C\xAC", cy1 = "\xD0\x90", cy2 = "\xD0\x91";
  const std::string zhe = "C:\\\xD0\x96.exe", ze = "C:\\\xD0\x97.exe";  // not in the code page
  auto set = [](scan_test::ScanMachine& m, const std::string& name, const std::string& data) {
    m.registry().WriteValueUtf8(HKCU, settings::RunKey, name, RegistryValue::Text(data));
  };
  const std::vector<CompareRow> rows = {
      {"nothing", [](auto&) {}, {UserDone}},
      {"data of a Japanese name",
       [&](auto& m) { set(m, jp, "C:\\jp2.exe"); },
       {W, "*** Modified entry - C:\\jp2.exe"}},
      {"data beyond the code page",
       [&](auto& m) { set(m, cy1, ze); },
       {W, "*** Modified entry - C:\\?.exe"}},
      {"second of two Cyrillic names",
       [&](auto& m) { set(m, cy2, "C:\\b2.exe"); },
       {W, "*** Modified entry - C:\\b2.exe"}},
  };
  for (const CompareRow& row : rows) {
    SCOPED_TRACE(row.change);
    scan_test::ScanMachine fresh;
    fresh.registry().CreateKey(HKCU, settings::RunKey);
    set(fresh, jp, "C:\\jp.exe");
    set(fresh, cy1, zhe);
    set(fresh, cy2, "C:\\b.exe");
    fresh.checks->SnapshotAutostart(User, true);
    row.apply(fresh);
    fresh.checks->CompareAutostart(User);
    EXPECT_EQ(fresh.lines(), row.lines);
  }
  // What the code page holds is sealed as it always was, so earlier snapshots hold.
  m.SetRunEntry(HKCU, "Caf\xE9", "C:\\caf\xE9.exe");
  m.checks->SnapshotAutostart(User, true);
  EXPECT_EQ(Snapshot(settings::UserKey, "Caf\xE9"), m.Seal("C:\\caf\xE9.exe"));
}

// A check's lines reach the box in one insertion, whatever their number.
TEST_F(AutostartWatchTest, ACheckLogsAllItsLinesInOneInsertion) {
  m.checks->SnapshotAutostart(User, true);
  for (int i = 0; i < 50; ++i) m.SetRunEntry(HKCU, "New" + std::to_string(i), "C:\\n.exe");
  auto& memo = dynamic_cast<platform::MemoryMemo&>(m.memo);
  const int before = memo.insertions();
  m.checks->CompareAutostart(User);
  EXPECT_EQ(memo.insertions() - before, 1);
  EXPECT_EQ(m.lines().size(), 101u);
  EXPECT_EQ(m.lines().back(), W);
}

TEST_F(AutostartWatchTest, EmptySnapshotAgainstOneEntry) {
  m.registry().CreateKey(HKCU, settings::UserKey);
  m.checks->CompareAutostart(User);
  EXPECT_THAT(m.lines(), ElementsAre(W, "*** Modified entry - C:\\Chat\\chat.exe /tray", W));
}

TEST_F(AutostartWatchTest, NonTextEntryIsStoredEmptyAndReportedAtEveryScan) {
  m.registry().SetValue(HKCU, settings::RunKey, "Odd", RegistryValue::Dword(1));
  m.SetRunEntry(HKCU, "Late", "C:\\late.exe");
  m.checks->SnapshotAutostart(User, true);
  EXPECT_THAT(m.registry().ValueNamesOf(HKCU, settings::UserKey),
              ElementsAre("Messenger", "Odd", "Late"));
  EXPECT_EQ(Snapshot(settings::UserKey, "Odd"), "");
  EXPECT_EQ(Snapshot(settings::UserKey, "Late"), m.Seal("C:\\late.exe"));
  EXPECT_THAT(m.boxes(), IsEmpty());

  for (int scan = 0; scan < 2; ++scan) {
    Restart();
    m.checks->CompareAutostart(User);
    EXPECT_THAT(m.lines(), ElementsAre(W));
    EXPECT_TRUE(m.findings.AutostartChanged);
    EXPECT_THAT(m.boxes(), IsEmpty());
  }
}

TEST_F(AutostartWatchTest, UnexpectedErrorReadingAnEntryIsAFinding) {
  m.checks->SnapshotAutostart(User, true);
  m.registry().faults().Arm(Fault{1, false, FaultKind::Throw, "ReadValuesUtf8"});
  m.checks->CompareAutostart(User);
  EXPECT_THAT(m.lines(), ElementsAre(W));
  EXPECT_THAT(m.boxes(), IsEmpty());
}

// A 32-bit program's machine-wide entry lands in the 32-bit view: watched like the
// machine's own, with the same lines; a player who upgrades is not asked anything.
TEST_F(AutostartWatchTest, TheMachines32BitViewIsWatchedFromTheUpgradeOn) {
  m.checks->SnapshotAutostart(User, true);
  m.checks->SnapshotAutostart(Local, true);
  m.registry().DeleteKey(HKCU, settings::Local32Key);  // as left by an older version
  Restart();
  Scan();
  EXPECT_THAT(m.lines(),
              ElementsAre("Registry: Local 32-bit entries are now watched", UserDone, LocalDone));
  EXPECT_THAT(m.boxes(), IsEmpty());
  EXPECT_FALSE(m.red());
  EXPECT_EQ(Snapshot(settings::Local32Key, "Updater"), m.Seal("C:\\Tools\\upd32.exe"));

  m.SetRunEntry(HKLM32, "Stealer", "C:\\Temp\\steal32.exe");
  Restart();
  Scan();
  EXPECT_THAT(m.lines(), ElementsAre(UserDone, W, "*** Modified entry - C:\\Temp\\steal32.exe", W));
  EXPECT_TRUE(m.findings.AutostartChanged);
  // Not seen in the machine's own view, nor written there.
  EXPECT_FALSE(m.registry().Text(HKLM, settings::RunKey, "Stealer"));
  EXPECT_FALSE(Snapshot(settings::LocalKey, "Stealer"));
}

// A standard user may only read the machine's key: it is watched all the same.
TEST_F(AutostartWatchTest, KeyWithoutFullAccessIsWatchedReadOnly) {
  m.registry().DenyFullAccess(HKLM, settings::RunKey);
  m.checks->SnapshotAutostart(Local, true);
  EXPECT_EQ(Snapshot(settings::LocalKey, "Sound"), m.Seal("C:\\Windows\\snd.exe"));

  m.SetRunEntry(HKLM, "Sound", "C:\\evil.exe");
  m.checks->CompareAutostart(Local);
  EXPECT_THAT(m.lines(), ElementsAre(W, "*** Modified entry - C:\\evil.exe"));
  EXPECT_THAT(m.boxes(), IsEmpty());
}

TEST_F(AutostartWatchTest, UnexpectedErrorOpeningTheAutostartKeyShowsTheBox) {
  const Box error{scan_test::MessageKind::Error, "Error opening registry!"};
  m.registry().faults().Arm(Fault{1, false, FaultKind::Throw, "OpenKey"});
  m.checks->SnapshotAutostart(User, false);  // no question, nothing written
  EXPECT_THAT(m.boxes(), ElementsAre(error));
  EXPECT_TRUE(m.red());
  EXPECT_FALSE(m.registry().HasKey(HKCU, settings::UserKey));
  EXPECT_FALSE(m.findings.AutostartChanged);

  m.checks->SnapshotAutostart(User, true);
  Restart();
  m.registry().faults().Arm(Fault{1, false, FaultKind::Throw, "OpenKey"});
  m.checks->CompareAutostart(User);
  EXPECT_THAT(m.boxes(), ElementsAre(error));
  EXPECT_THAT(m.lines(), IsEmpty());
  EXPECT_TRUE(m.red());
}

TEST_F(AutostartWatchTest, UnexpectedErrorOpeningTheSnapshotEndsTheComparisonSilently) {
  m.checks->SnapshotAutostart(User, true);
  m.registry().SetValue(HKCU, settings::RunKey, "Trojan", RegistryValue::Text("C:\\t.exe"));
  m.registry().faults().Arm(Fault{2, false, FaultKind::Throw, "OpenKey"});
  m.checks->CompareAutostart(User);
  EXPECT_THAT(m.lines(), IsEmpty());
  EXPECT_THAT(m.boxes(), IsEmpty());
  EXPECT_FALSE(m.red());
  EXPECT_FALSE(m.findings.AutostartChanged);
}

TEST_F(AutostartWatchTest, AcceptingNeverTouchesAnExistingSnapshot) {
  m.registry().SetValue(HKCU, settings::UserKey, "Stale", RegistryValue::Text("x"));
  m.registry().faults().ClearJournal();
  m.checks->SnapshotAutostart(User, true);
  EXPECT_THAT(m.registry().ValueNamesOf(HKCU, settings::UserKey), ElementsAre("Stale"));
  EXPECT_EQ(m.registry().faults().CallCount("WriteValue") +
                m.registry().faults().CallCount("WriteValueUtf8"),
            0u);
  EXPECT_THAT(m.boxes(), IsEmpty());
}

// The set-up goes on when the own entry cannot be written: the player is told, the
// game is chosen and the snapshots exist, so the question is not asked twice.
TEST_F(AutostartWatchTest, FailedOwnEntryIsReportedAndTheSetUpGoesOn) {
  m.registry().DenyFullAccess(HKCU, settings::RunKey);
  m.Answer(Question, scan_test::MessageAnswer::Yes);
  m.toolkit().ScriptOpenDialog(std::nullopt);
  Scan();
  EXPECT_THAT(m.boxes(),
              ElementsAre(Box{scan_test::MessageKind::Confirmation, Question},
                          Box{scan_test::MessageKind::Error, "Error opening registry!"}));
  EXPECT_TRUE(m.red());
  EXPECT_TRUE(m.findings.FirstRun);
  EXPECT_EQ(m.registry().Text(HKCU, settings::ProductKey, "Path"), m.Seal("mir.exe"));
  EXPECT_TRUE(m.registry().HasKey(HKCU, settings::UserKey));
  EXPECT_TRUE(m.registry().HasKey(HKCU, settings::LocalKey));
}

}  // namespace
