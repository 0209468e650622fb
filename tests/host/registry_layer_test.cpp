#include "core/registry_layer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

#include "core/settings_layout.h"
#include "platform/memory/memory_registry.h"

namespace {

using platform::Fault;
using platform::FaultKind;
using platform::RegistryError;
using platform::RegistryValue;
using platform::RootKey;
using platform::ValueKind;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Optional;

constexpr RootKey HKCU = RootKey::CurrentUser;
constexpr RootKey HKLM = RootKey::LocalMachine;

class RegistryLayerTest : public ::testing::Test {
 protected:
  platform::MemoryRegistry registry;
  RegistryLayer layer{registry};

  void FailNext(const char* operation, FaultKind kind = FaultKind::Fail) {
    registry.faults().Arm(Fault{1, false, kind, operation});
  }
};

TEST_F(RegistryLayerTest, OpenKeyCreatesOnlyWhenAllowed) {
  EXPECT_FALSE(layer.OpenKey(settings::AccessKey, false));
  EXPECT_FALSE(registry.HasKey(HKCU, settings::AccessKey));

  ASSERT_TRUE(layer.OpenKey(settings::AccessKey, true));
  EXPECT_TRUE(registry.HasKey(HKCU, "Software\\Palvex\\Quenlar\\Access"));
  EXPECT_TRUE(layer.KeyExists(settings::ProductKey));
  EXPECT_TRUE(layer.OpenKey(settings::AccessKey, false));
  EXPECT_FALSE(layer.KeyExists(settings::UserKey));
}

TEST_F(RegistryLayerTest, WithoutAnOpenKeyReadsAndWritesFail) {
  registry.SetValue(HKCU, settings::AccessKey, "Login", RegistryValue::Text("x"));

  // Never opened.
  EXPECT_EQ(layer.ReadText("Login"), std::nullopt);
  EXPECT_FALSE(layer.WriteText("Login", "y"));

  // A failed open drops the key opened before it: nothing may land there.
  ASSERT_TRUE(layer.OpenKey(settings::AccessKey, false));
  EXPECT_FALSE(layer.OpenKey(settings::ChecksumKey, false));
  EXPECT_EQ(layer.ReadText("Login"), std::nullopt);
  EXPECT_EQ(layer.ReadInteger("Acc"), std::nullopt);
  EXPECT_EQ(layer.ReadBool("Stealth"), std::nullopt);
  EXPECT_THAT(layer.ValueNames(), IsEmpty());
  EXPECT_FALSE(layer.WriteText("Login", "y"));
  EXPECT_FALSE(layer.WriteInteger("Acc", 3));
  EXPECT_FALSE(layer.WriteBool("Stealth", true));
  EXPECT_FALSE(layer.DeleteValue("Login"));
  EXPECT_EQ(registry.Text(HKCU, settings::AccessKey, "Login"), "x");
  EXPECT_EQ(registry.ValueNamesOf(HKCU, settings::AccessKey), std::vector<std::string>{"Login"});
}

TEST_F(RegistryLayerTest, KeyWithoutFullAccessCannotBeOpened) {
  registry.CreateKey(HKCU, settings::AccessKey);
  registry.SetValue(HKCU, settings::AccessKey, "Acc", RegistryValue::Dword(4));
  registry.DenyFullAccess(HKCU, settings::AccessKey);

  EXPECT_FALSE(layer.OpenKey(settings::AccessKey, true));
  EXPECT_EQ(layer.ReadInteger("Acc"), std::nullopt);
}

TEST_F(RegistryLayerTest, ValuesRoundTripAndAreReplaced) {
  ASSERT_TRUE(layer.OpenKey(settings::AccessKey, true));
  EXPECT_TRUE(layer.WriteText("MessageTarget", "Bob"));
  EXPECT_TRUE(layer.WriteText("MessageTarget", "Alice"));
  EXPECT_TRUE(layer.WriteInteger("Acc", -5));
  EXPECT_TRUE(layer.WriteInteger("Min", std::numeric_limits<std::int32_t>::min()));
  EXPECT_TRUE(layer.WriteBool("Stealth", true));
  EXPECT_TRUE(layer.WriteBool("Online", false));

  EXPECT_THAT(layer.ReadText("MessageTarget"), Optional(std::string("Alice")));
  EXPECT_THAT(layer.ReadInteger("Acc"), Optional(-5));
  EXPECT_THAT(layer.ReadInteger("Min"), Optional(std::numeric_limits<std::int32_t>::min()));
  EXPECT_THAT(layer.ReadBool("Stealth"), Optional(true));
  EXPECT_THAT(layer.ReadBool("Online"), Optional(false));

  // Stored as the registry expects them: texts as strings, Booleans as DWORD 1 and 0.
  const auto target = registry.Value(HKCU, settings::AccessKey, "MessageTarget");
  ASSERT_TRUE(target);
  EXPECT_EQ(target->kind, ValueKind::String);
  const auto stealth = registry.Value(HKCU, settings::AccessKey, "Stealth");
  ASSERT_TRUE(stealth);
  EXPECT_EQ(stealth->kind, ValueKind::Dword);
  EXPECT_EQ(stealth->AsDword(), 1u);
  EXPECT_EQ(registry.Value(HKCU, settings::AccessKey, "Online")->AsDword(), 0u);
  EXPECT_EQ(registry.Value(HKCU, settings::AccessKey, "Acc")->AsDword(), 0xFFFFFFFBu);

  EXPECT_THAT(layer.ValueNames(), ElementsAre("MessageTarget", "Acc", "Min", "Stealth", "Online"));
}

TEST_F(RegistryLayerTest, ReadsByType) {
  const char* key = settings::AccessKey;
  registry.SetValue(HKCU, key, "Plain", RegistryValue::Text("abc"));
  registry.SetValue(HKCU, key, "Expand", RegistryValue::Text("%TEMP%", ValueKind::ExpandString));
  registry.SetValue(HKCU, key, "Multi", RegistryValue::Text("a", ValueKind::MultiString));
  registry.SetValue(HKCU, key, "Dword", RegistryValue::Dword(2));
  registry.SetValue(HKCU, key, "Four", RegistryValue::Text("1234"));
  registry.SetValue(HKCU, key, "Qword", RegistryValue{ValueKind::Qword, std::string(8, '\1')});
  registry.SetValue(HKCU, key, "Short", RegistryValue{ValueKind::Dword, std::string(2, '\1')});
  ASSERT_TRUE(layer.OpenKey(key, false));

  // Texts: a missing value is the empty text; a value of another type is a failure.
  EXPECT_THAT(layer.ReadText("Plain"), Optional(std::string("abc")));
  EXPECT_THAT(layer.ReadText("Expand"), Optional(std::string("%TEMP%")));
  EXPECT_THAT(layer.ReadText("Missing"), Optional(std::string()));
  EXPECT_EQ(layer.ReadText("Multi"), std::nullopt);
  EXPECT_EQ(layer.ReadText("Dword"), std::nullopt);

  // Integers and Booleans: only a four-byte DWORD will do.
  EXPECT_THAT(layer.ReadInteger("Dword"), Optional(2));
  EXPECT_THAT(layer.ReadBool("Dword"), Optional(true));
  for (const char* name : {"Missing", "Plain", "Four", "Qword", "Short"}) {
    EXPECT_EQ(layer.ReadInteger(name), std::nullopt) << name;
    EXPECT_EQ(layer.ReadBool(name), std::nullopt) << name;
  }
}

TEST_F(RegistryLayerTest, NamesMatchWithoutRegardToCase) {
  ASSERT_TRUE(layer.OpenKey(settings::UserKey, true));
  ASSERT_TRUE(layer.WriteText("Tool", "C:\\tool.exe"));
  registry.SetValue(HKCU, "Software\\Palvex\\Quenlar\\User\\Nested", "x", RegistryValue::Text("y"));

  ASSERT_TRUE(layer.OpenKey("\\SOFTWARE\\palvex\\QUENLAR\\user\\", false));
  EXPECT_THAT(layer.ReadText("TOOL"), Optional(std::string("C:\\tool.exe")));

  EXPECT_TRUE(layer.DeleteKey("\\Software\\Palvex\\Quenlar\\user\\"));
  EXPECT_FALSE(layer.KeyExists(settings::UserKey));
  EXPECT_FALSE(registry.HasKey(HKCU, "Software\\Palvex\\Quenlar\\User\\Nested"));
  EXPECT_TRUE(layer.KeyExists(settings::ProductKey));
}

TEST_F(RegistryLayerTest, DeletesValuesAndWholeSubtrees) {
  registry.SetValue(HKCU, settings::AccessKey, "Acc", RegistryValue::Dword(3));
  registry.SetValue(HKCU, settings::ChecksumKey, "Value", RegistryValue::Text("s"));
  registry.SetValue(HKCU, "Software\\Palvex\\Other", "Keep", RegistryValue::Text("k"));

  ASSERT_TRUE(layer.OpenKey(settings::AccessKey, false));
  EXPECT_TRUE(layer.DeleteValue("acc"));
  EXPECT_FALSE(layer.DeleteValue("Acc"));
  EXPECT_EQ(layer.ReadInteger("Acc"), std::nullopt);

  EXPECT_TRUE(layer.DeleteKey(settings::ProductKey));
  EXPECT_FALSE(layer.KeyExists(settings::ChecksumKey));
  EXPECT_FALSE(layer.KeyExists(settings::ProductKey));
  EXPECT_TRUE(layer.KeyExists("\\Software\\Palvex\\Other"));
  EXPECT_FALSE(layer.DeleteKey(settings::ProductKey));
}

TEST_F(RegistryLayerTest, SelectRootSwitchesTreesAndClosesTheKey) {
  registry.SetValue(HKLM, settings::RunKey, "Driver", RegistryValue::Text("m"));
  registry.SetValue(HKCU, settings::RunKey, "Driver", RegistryValue::Text("u"));

  ASSERT_TRUE(layer.OpenKey(settings::RunKey, false));
  EXPECT_THAT(layer.ReadText("Driver"), Optional(std::string("u")));

  layer.SelectRoot(HKLM);
  EXPECT_EQ(layer.ReadText("Driver"), std::nullopt);
  ASSERT_TRUE(layer.OpenKey(settings::RunKey, false));
  EXPECT_THAT(layer.ReadText("Driver"), Optional(std::string("m")));
  EXPECT_THAT(layer.ValueNames(), ElementsAre("Driver"));
}

TEST_F(RegistryLayerTest, InjectedFailuresAreReportedAsFailures) {
  registry.SetValue(HKCU, settings::AccessKey, "Login", RegistryValue::Text("x"));
  registry.SetValue(HKCU, settings::AccessKey, "Acc", RegistryValue::Dword(3));

  FailNext("OpenKey");
  EXPECT_FALSE(layer.OpenKey(settings::AccessKey, true));
  ASSERT_TRUE(layer.OpenKey(settings::AccessKey, true));

  // A failed read is not the empty text of a missing value.
  FailNext("ReadValue");
  EXPECT_EQ(layer.ReadText("Login"), std::nullopt);
  FailNext("ReadValue");
  EXPECT_EQ(layer.ReadInteger("Acc"), std::nullopt);
  FailNext("ReadValue");
  EXPECT_EQ(layer.ReadBool("Acc"), std::nullopt);
  FailNext("ValueNames");
  EXPECT_THAT(layer.ValueNames(), IsEmpty());
  FailNext("WriteValue");
  EXPECT_FALSE(layer.WriteInteger("Acc", 9));
  FailNext("DeleteValue");
  EXPECT_FALSE(layer.DeleteValue("Acc"));
  FailNext("DeleteKey");
  EXPECT_FALSE(layer.DeleteKey(settings::AccessKey));

  EXPECT_THAT(layer.ReadInteger("Acc"), Optional(3));
  EXPECT_TRUE(layer.KeyExists(settings::AccessKey));
}

TEST_F(RegistryLayerTest, UnexpectedErrorsPassThrough) {
  ASSERT_TRUE(layer.OpenKey(settings::AccessKey, true));
  FailNext("ReadValue", FaultKind::Throw);
  EXPECT_THROW(layer.ReadText("Login"), RegistryError);
  FailNext("OpenKey", FaultKind::Throw);
  EXPECT_THROW(layer.OpenKey(settings::AccessKey, true), RegistryError);
  ASSERT_TRUE(layer.OpenKey(settings::AccessKey, true));
  FailNext("WriteValue", FaultKind::Throw);
  EXPECT_THROW(layer.WriteBool("Stealth", true), RegistryError);
  FailNext("DeleteKey", FaultKind::Throw);
  EXPECT_THROW(layer.DeleteKey(settings::ProductKey), RegistryError);
}

}  // namespace
