#include "platform/memory/memory_registry.h"

#include <gtest/gtest.h>

using platform::FaultKind;
using platform::KeyAccess;
using platform::MemoryRegistry;
using platform::RegistryError;
using platform::RegistryValue;
using platform::RegStatus;
using platform::RootKey;
using platform::ValueKind;

namespace {

constexpr RootKey HKCU = RootKey::CurrentUser;
constexpr RootKey HKLM = RootKey::LocalMachine;

// Service behaviour is checked against Windows in the contract suite; here the helpers.
TEST(MemoryRegistry, HelpersFoldOnlyAsciiLettersAndListSubkeys) {
  MemoryRegistry reg;
  reg.CreateKey(HKCU, "Software\\Palvex\\Quenlar");
  EXPECT_EQ(reg.SubkeyNames(HKCU, "software"), std::vector<std::string>{"Palvex"});
  reg.SetValue(HKCU, "K", "\xC4", RegistryValue::Text("x"));
  EXPECT_FALSE(reg.Value(HKCU, "K", "\xE4"));
  reg.SetValue(HKCU, "K", "n", RegistryValue::Text("1234"));
  EXPECT_EQ(reg.Value(HKCU, "K", "n")->kind, ValueKind::String);
  reg.SetValue(HKCU, "K", "d", RegistryValue::Dword(1));
  EXPECT_FALSE(reg.Text(HKCU, "K", "d"));  // a DWORD is no text
  EXPECT_EQ(reg.Text(HKCU, "k", "N"), "1234");
}

TEST(MemoryRegistry, RootsAreSeparateTrees) {
  MemoryRegistry reg;
  reg.SetValue(HKLM, "Software\\X", "v", RegistryValue::Dword(1));
  EXPECT_FALSE(reg.HasKey(HKCU, "Software\\X"));
  EXPECT_EQ(reg.OpenKey(HKCU, "Software\\X", KeyAccess::Read, false), RegStatus::NotFound);
  EXPECT_EQ(reg.OpenKey(HKLM, "Software\\X", KeyAccess::Read, false), RegStatus::Ok);
}

TEST(MemoryRegistry, EmptyNamesInsideAPathAreRefused) {
  MemoryRegistry reg;
  EXPECT_EQ(reg.OpenKey(HKCU, "A\\\\B", KeyAccess::Full, true), RegStatus::Failed);
  EXPECT_FALSE(reg.HasKey(HKCU, "A"));
  EXPECT_THROW(reg.CreateKey(HKCU, "A\\\\B"), std::invalid_argument);
}

TEST(MemoryRegistry, EnumerationKeepsInsertionOrderAndReplacementKeepsThePlace) {
  MemoryRegistry reg;
  reg.CreateKey(HKCU, "Run");
  for (const char* n : {"zeta", "Alpha", "mid"})
    reg.WriteValue(HKCU, "Run", n, RegistryValue::Text(n));
  reg.WriteValue(HKCU, "Run", "ALPHA", RegistryValue::Dword(2));
  std::vector<std::string> names;
  ASSERT_EQ(reg.ValueNames(HKCU, "Run", names), RegStatus::Ok);
  EXPECT_EQ(names, (std::vector<std::string>{"zeta", "Alpha", "mid"}));
  reg.DeleteValue(HKCU, "Run", "zeta");
  reg.WriteValue(HKCU, "Run", "zeta", RegistryValue::Text("again"));
  ASSERT_EQ(reg.ValueNames(HKCU, "Run", names), RegStatus::Ok);
  EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "mid", "zeta"}));
  // The empty name is the key's default value, a value like any other.
  reg.WriteValue(HKCU, "Run", "", RegistryValue::Text("d"));
  EXPECT_EQ(reg.Text(HKCU, "Run", ""), "d");
}

TEST(MemoryRegistry, DeniedFullAccessStillAllowsReading) {
  MemoryRegistry reg;
  const std::string run = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
  reg.SetValue(HKLM, run, "Tool", RegistryValue::Text("c:\\tool.exe"));
  reg.DenyFullAccess(HKLM, "Software");

  EXPECT_EQ(reg.OpenKey(HKLM, run, KeyAccess::Read, false), RegStatus::Ok);
  EXPECT_EQ(reg.OpenKey(HKLM, run, KeyAccess::Read, true), RegStatus::Ok);
  EXPECT_EQ(reg.OpenKey(HKLM, run, KeyAccess::Full, false), RegStatus::AccessDenied);
  EXPECT_EQ(reg.OpenKey(HKLM, run + "\\New", KeyAccess::Read, true), RegStatus::AccessDenied);
  EXPECT_EQ(reg.OpenKey(HKLM, run + "\\New", KeyAccess::Full, false), RegStatus::NotFound);
  EXPECT_FALSE(reg.HasKey(HKLM, run + "\\New"));
  std::vector<std::string> names;
  EXPECT_EQ(reg.ValueNames(HKLM, run, names), RegStatus::Ok);
  RegistryValue v;
  EXPECT_EQ(reg.ReadValue(HKLM, run, "tool", v), RegStatus::Ok);
  EXPECT_EQ(reg.WriteValue(HKLM, run, "Quenlar", RegistryValue::Text("x")),
            RegStatus::AccessDenied);
  EXPECT_EQ(reg.DeleteValue(HKLM, run, "Tool"), RegStatus::AccessDenied);
  EXPECT_EQ(reg.DeleteKey(HKLM, run), RegStatus::AccessDenied);
  EXPECT_EQ(reg.ValueNamesOf(HKLM, run), std::vector<std::string>{"Tool"});

  // A denied key deep inside keeps its ancestors from being deleted, all or nothing.
  reg.SetValue(HKCU, "A\\B\\C", "v", RegistryValue::Text("1"));
  reg.DenyFullAccess(HKCU, "a\\b\\c");
  EXPECT_EQ(reg.OpenKey(HKCU, "A\\B", KeyAccess::Full, false), RegStatus::Ok);
  EXPECT_EQ(reg.DeleteKey(HKCU, "A"), RegStatus::AccessDenied);
  EXPECT_TRUE(reg.HasKey(HKCU, "A\\B\\C"));
  reg.AllowFullAccess(HKCU, "A\\B\\C");
  EXPECT_EQ(reg.DeleteKey(HKCU, "A"), RegStatus::Ok);
}

TEST(MemoryRegistryFaults, NthCallFailsOnceThenCallsWorkAgain) {
  MemoryRegistry reg;
  reg.SetValue(HKCU, "K", "v", RegistryValue::Text("x"));
  reg.faults().FailNth(2);
  RegistryValue v;
  EXPECT_EQ(reg.ReadValue(HKCU, "K", "v", v), RegStatus::Ok);
  EXPECT_EQ(reg.WriteValue(HKCU, "K", "v", RegistryValue::Text("y")), RegStatus::Failed);
  EXPECT_EQ(reg.Text(HKCU, "K", "v"), "x");  // a failed write changes nothing
  EXPECT_TRUE(reg.KeyExists(HKCU, "K"));
  EXPECT_FALSE(reg.faults().armed());
  EXPECT_EQ(reg.faults().faults_injected(), 1);
}

TEST(MemoryRegistryFaults, PersistentFaultFailsEveryLaterCallUntilDisarmed) {
  MemoryRegistry reg;
  reg.CreateKey(HKCU, "K");
  reg.faults().FailFrom(1);
  std::vector<std::string> names;
  EXPECT_FALSE(reg.KeyExists(HKCU, "K"));
  EXPECT_EQ(reg.OpenKey(HKCU, "K", KeyAccess::Read, false), RegStatus::Failed);
  EXPECT_EQ(reg.ValueNames(HKCU, "K", names), RegStatus::Failed);
  EXPECT_EQ(reg.DeleteKey(HKCU, "K"), RegStatus::Failed);
  EXPECT_TRUE(reg.HasKey(HKCU, "K"));
  reg.faults().Disarm();
  EXPECT_TRUE(reg.KeyExists(HKCU, "K"));
}

TEST(MemoryRegistryFaults, ThrowingFaultRaisesRegistryError) {
  MemoryRegistry reg;
  reg.CreateKey(HKCU, "K");
  reg.faults().FailNth(1, FaultKind::Throw);
  EXPECT_THROW(reg.DeleteValue(HKCU, "K", "v"), RegistryError);
  EXPECT_EQ(reg.DeleteValue(HKCU, "K", "v"), RegStatus::NotFound);
}

TEST(MemoryRegistryFaults, OperationFilterCountsOnlyThatOperation) {
  MemoryRegistry reg;
  reg.CreateKey(HKCU, "K");
  reg.faults().Arm({2, false, FaultKind::Fail, "WriteValue"});
  RegistryValue v;
  EXPECT_EQ(reg.WriteValue(HKCU, "K", "a", RegistryValue::Text("1")), RegStatus::Ok);
  EXPECT_EQ(reg.ReadValue(HKCU, "K", "a", v), RegStatus::Ok);
  EXPECT_EQ(reg.ReadValue(HKCU, "K", "a", v), RegStatus::Ok);
  EXPECT_EQ(reg.WriteValue(HKCU, "K", "b", RegistryValue::Text("2")), RegStatus::Failed);
  EXPECT_THROW(reg.faults().FailNth(0), std::invalid_argument);
}

TEST(MemoryRegistryFaults, JournalRecordsEveryServiceCallButNoHelper) {
  MemoryRegistry reg;
  reg.SetValue(HKCU, "K", "v", RegistryValue::Text("x"));  // helper: not journaled
  reg.faults().FailNth(2);
  RegistryValue v;
  reg.OpenKey(HKCU, "K", KeyAccess::Read, false);
  reg.ReadValue(HKCU, "K", "v", v);
  const auto& j = reg.faults().journal();
  ASSERT_EQ(j.size(), 2u);
  EXPECT_EQ(j[0].operation, "OpenKey");
  EXPECT_EQ(j[0].path, "K");
  EXPECT_FALSE(j[0].faulted);
  EXPECT_EQ(j[1].operation, "ReadValue");
  EXPECT_EQ(j[1].name, "v");
  EXPECT_TRUE(j[1].faulted);
  EXPECT_EQ(reg.faults().CallCount("ReadValue"), 1u);
  reg.faults().ClearJournal();
  EXPECT_TRUE(reg.faults().journal().empty());
}

}  // namespace
