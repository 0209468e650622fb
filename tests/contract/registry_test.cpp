// The registry as both backends must show it; the Win32 one is the reference.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "contract_rig.h"

namespace {

using platform::KeyAccess;
using platform::RegistryValue;
using platform::RegStatus;
using platform::RootKey;
using platform::ValueKind;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

constexpr RootKey CU = RootKey::CurrentUser;

// A path with a backslash on each side, which both backends must ignore.
std::string Wrapped(const std::string& path) {
  std::string wrapped = "\\";
  wrapped.append(path).append("\\");
  return wrapped;
}

template <typename Rig>
class RegistryContract : public ::testing::Test {
 protected:
  RegistryValue Read(const std::string& key, const std::string& name) {
    RegistryValue value;
    EXPECT_EQ(reg().ReadValue(CU, key, name, value), RegStatus::Ok) << key << " " << name;
    return value;
  }
  std::vector<std::string> Names(const std::string& key) {
    std::vector<std::string> names;
    EXPECT_EQ(reg().ValueNames(CU, key, names), RegStatus::Ok) << key;
    return names;
  }
  platform::Registry& reg() { return rig.registry(); }
  std::string Key(const std::string& child) { return rig.Key(child); }

  Rig rig;
};

TYPED_TEST_SUITE(RegistryContract, contract::RegistryRigs);

TYPED_TEST(RegistryContract, NestedKeysAreMadeIgnoringOuterBackslashes) {
  auto& reg = this->reg();
  ASSERT_EQ(reg.OpenKey(CU, Wrapped(this->Key("One\\Two")), KeyAccess::Full, true), RegStatus::Ok);
  EXPECT_TRUE(reg.KeyExists(CU, this->Key("One\\Two")));
  EXPECT_EQ(reg.OpenKey(CU, this->Key("One\\Two"), KeyAccess::Read, false), RegStatus::Ok);
  EXPECT_EQ(reg.OpenKey(CU, this->Key("One\\Two"), KeyAccess::Full, false), RegStatus::Ok);
  // Creating what exists already is fine.
  EXPECT_EQ(reg.OpenKey(CU, this->Key("One"), KeyAccess::Full, true), RegStatus::Ok);
}

TYPED_TEST(RegistryContract, NamesMatchWithoutLetterCaseAndKeepTheirOwn) {
  auto& reg = this->reg();
  ASSERT_EQ(reg.OpenKey(CU, this->Key("Case\\Key"), KeyAccess::Full, true), RegStatus::Ok);
  EXPECT_TRUE(reg.KeyExists(CU, this->Key("CASE\\key")));
  ASSERT_EQ(reg.WriteValue(CU, this->Key("Case\\Key"), "MixedCase", RegistryValue::Text("1")),
            RegStatus::Ok);
  EXPECT_EQ(this->Read(this->Key("CASE\\key"), "mixedcase").bytes, "1");
  ASSERT_EQ(reg.WriteValue(CU, this->Key("case\\key"), "MIXEDCASE", RegistryValue::Text("2")),
            RegStatus::Ok);
  EXPECT_THAT(this->Names(this->Key("Case\\Key")), UnorderedElementsAre("MixedCase"));
  EXPECT_EQ(this->Read(this->Key("Case\\Key"), "MixedCase").bytes, "2");
}

TYPED_TEST(RegistryContract, MissingKeysAndValuesAreNotFound) {
  auto& reg = this->reg();
  const std::string missing = this->Key("Missing");
  std::vector<std::string> names{"kept"};
  RegistryValue value;
  EXPECT_EQ(reg.OpenKey(CU, missing, KeyAccess::Read, false), RegStatus::NotFound);
  EXPECT_FALSE(reg.KeyExists(CU, missing));
  EXPECT_EQ(reg.ValueNames(CU, missing, names), RegStatus::NotFound);
  EXPECT_EQ(names, std::vector<std::string>{"kept"});
  EXPECT_EQ(reg.ReadValue(CU, missing, "x", value), RegStatus::NotFound);
  EXPECT_EQ(reg.WriteValue(CU, missing, "x", RegistryValue::Dword(1)), RegStatus::NotFound);
  EXPECT_FALSE(reg.KeyExists(CU, missing)) << "writing must not create the key";
  EXPECT_EQ(reg.DeleteValue(CU, missing, "x"), RegStatus::NotFound);
  EXPECT_EQ(reg.DeleteKey(CU, missing), RegStatus::NotFound);

  const std::string key = this->Key("Empty");
  ASSERT_EQ(reg.OpenKey(CU, key, KeyAccess::Full, true), RegStatus::Ok);
  EXPECT_EQ(reg.ReadValue(CU, key, "x", value), RegStatus::NotFound);
  EXPECT_EQ(reg.DeleteValue(CU, key, "x"), RegStatus::NotFound);
  EXPECT_THAT(this->Names(key), IsEmpty());
  // Never the root itself.
  EXPECT_EQ(reg.DeleteKey(CU, ""), RegStatus::Failed);
  EXPECT_TRUE(reg.KeyExists(CU, key));
}

TYPED_TEST(RegistryContract, ValuesOfEveryKindRoundTrip) {
  auto& reg = this->reg();
  const std::string key = this->Key("Kinds");
  ASSERT_EQ(reg.OpenKey(CU, key, KeyAccess::Full, true), RegStatus::Ok);
  const std::vector<std::pair<std::string, RegistryValue>> values = {
      {"text", RegistryValue::Text("C:\\Games\\Mir\\mir.exe")},
      {"number", RegistryValue::Text("1234")},
      {"empty", RegistryValue::Text("")},
      {"long", RegistryValue::Text(std::string(100000, 'x'))},
      {"expand", RegistryValue::Text("%SystemRoot%\\x.exe", ValueKind::ExpandString)},
      {"multi", RegistryValue{ValueKind::MultiString, std::string("a\0bc\0", 5)}},
      {"binary", RegistryValue{ValueKind::Binary, std::string("\0\x01\xff\0", 4)}},
      {"dword", RegistryValue::Dword(0xDEADBEEF)},
      {"qword",
       RegistryValue{ValueKind::Qword, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)}},
      {"", RegistryValue::Text("default")},
  };
  for (const auto& [name, value] : values)
    ASSERT_EQ(reg.WriteValue(CU, key, name, value), RegStatus::Ok) << name;
  for (const auto& [name, value] : values) {
    RegistryValue back = this->Read(key, name);
    EXPECT_EQ(back.kind, value.kind) << name;
    EXPECT_EQ(back.bytes, value.bytes) << name;
  }
  EXPECT_EQ(this->Read(key, "dword").AsDword(), 0xDEADBEEFu);
}

TYPED_TEST(RegistryContract, EnumerationListsEveryValueButNoSubkey) {
  auto& reg = this->reg();
  const std::string key = this->Key("Run");
  ASSERT_EQ(reg.OpenKey(CU, key, KeyAccess::Full, true), RegStatus::Ok);
  const std::string long_name(300, 'n');
  for (const std::string& name :
       {std::string("b"), std::string("A"), std::string("c"), std::string(""), long_name})
    ASSERT_EQ(reg.WriteValue(CU, key, name, RegistryValue::Dword(1)), RegStatus::Ok);
  ASSERT_EQ(reg.OpenKey(CU, key + "\\sub", KeyAccess::Full, true), RegStatus::Ok);
  EXPECT_THAT(this->Names(key), UnorderedElementsAre("b", "A", "c", "", long_name));

  EXPECT_EQ(reg.DeleteValue(CU, key, "B"), RegStatus::Ok);
  EXPECT_EQ(reg.DeleteValue(CU, key, "b"), RegStatus::NotFound);
  EXPECT_THAT(this->Names(key), UnorderedElementsAre("A", "c", "", long_name));
}

TYPED_TEST(RegistryContract, DeleteKeyRemovesTheWholeTreeOnly) {
  auto& reg = this->reg();
  const std::string tree = this->Key("Tree");
  ASSERT_EQ(reg.OpenKey(CU, tree + "\\A\\B", KeyAccess::Full, true), RegStatus::Ok);
  ASSERT_EQ(reg.OpenKey(CU, this->Key("Sibling"), KeyAccess::Full, true), RegStatus::Ok);
  ASSERT_EQ(reg.WriteValue(CU, tree, "v", RegistryValue::Text("x")), RegStatus::Ok);
  ASSERT_EQ(reg.WriteValue(CU, tree + "\\A\\B", "w", RegistryValue::Text("y")), RegStatus::Ok);

  EXPECT_EQ(reg.DeleteKey(CU, Wrapped(this->Key("TREE"))), RegStatus::Ok);
  EXPECT_FALSE(reg.KeyExists(CU, tree));
  EXPECT_FALSE(reg.KeyExists(CU, tree + "\\A\\B"));
  EXPECT_TRUE(reg.KeyExists(CU, this->Key("Sibling")));
  EXPECT_EQ(reg.DeleteKey(CU, tree), RegStatus::NotFound);
  // Made again, it starts empty.
  ASSERT_EQ(reg.OpenKey(CU, tree, KeyAccess::Full, true), RegStatus::Ok);
  EXPECT_THAT(this->Names(tree), IsEmpty());
  EXPECT_FALSE(reg.KeyExists(CU, tree + "\\A"));
}

// A 64-bit program's 32-bit view of the machine is redirected under WOW6432Node, as a
// 32-bit program's machine-wide autostart entries are.
TYPED_TEST(RegistryContract, TheMachines32BitViewLivesUnderWow6432Node) {
  auto& reg = this->reg();
  constexpr RootKey LM = RootKey::LocalMachine;
  constexpr RootKey LM32 = RootKey::LocalMachine32;
  const std::string key = "SOFTWARE\\QuenlarContract\\View";
  const std::string redirected = "SOFTWARE\\WOW6432Node\\QuenlarContract\\View";
  ASSERT_TRUE(reg.HasSeparate32BitView());
  reg.DeleteKey(LM32, "SOFTWARE\\QuenlarContract");
  reg.DeleteKey(LM, "SOFTWARE\\QuenlarContract");

  ASSERT_EQ(reg.OpenKey(LM32, key, KeyAccess::Full, true), RegStatus::Ok);
  ASSERT_EQ(reg.WriteValueUtf8(LM32, key, "Entry", RegistryValue::Text("x32")), RegStatus::Ok);
  EXPECT_FALSE(reg.KeyExists(LM, key));
  RegistryValue value;
  EXPECT_EQ(reg.ReadValue(LM, redirected, "Entry", value), RegStatus::Ok);
  EXPECT_EQ(value.bytes, "x32");

  EXPECT_EQ(reg.DeleteKey(LM32, "SOFTWARE\\QuenlarContract"), RegStatus::Ok);
  EXPECT_FALSE(reg.KeyExists(LM32, key));
  EXPECT_FALSE(reg.KeyExists(LM, redirected));
}

// Names beyond the code page keep their identity through the wide calls, where the
// 8-bit calls see "?" marks; texts the code page holds convert exactly.
TYPED_TEST(RegistryContract, WideCallsKeepNamesTheCodePageCannotHold) {
  auto& registry = this->reg();
  const std::string key = this->Key("Wide");
  ASSERT_EQ(registry.OpenKey(CU, key, KeyAccess::Full, true), RegStatus::Ok);
  const std::string japanese = "\xE6\x97\xA5\xE6\x9C\xAC";  // two CJK characters
  const std::string cyrillic1 = "\xD0\x90\xD0\x91", cyrillic2 = "\xD0\x92\xD0\x93";
  const std::string data = "C:\\\xD0\x96.exe";
  for (const std::string& name : {japanese, cyrillic1, cyrillic2, std::string("Plain")})
    ASSERT_EQ(registry.WriteValueUtf8(CU, key, name, RegistryValue::Text(data + name)),
              RegStatus::Ok);

  std::vector<platform::NamedValue> values;
  ASSERT_EQ(registry.ReadValuesUtf8(CU, key, values), RegStatus::Ok);
  std::vector<std::string> names;
  for (const auto& [name, value] : values) {
    names.push_back(name);
    EXPECT_EQ(value.kind, ValueKind::String);
    EXPECT_EQ(value.bytes, data + name);
  }
  EXPECT_THAT(names, UnorderedElementsAre(japanese, cyrillic1, cyrillic2, "Plain"));
  RegistryValue value;
  ASSERT_EQ(registry.ReadValueUtf8(CU, key, cyrillic2, value), RegStatus::Ok);
  EXPECT_EQ(value.bytes, data + cyrillic2);

  std::string text;
  EXPECT_TRUE(registry.ToCodePage("C:\\Plain.exe", text));
  EXPECT_EQ(text, "C:\\Plain.exe");
}

// A key opened for reading is read and listed but never made: the scan looks at places
// it must not create.
TYPED_TEST(RegistryContract, ReadingNeverMakesAKey) {
  auto& registry = this->reg();
  const std::string key = this->Key("ReadOnly");
  EXPECT_EQ(registry.OpenKey(CU, key, KeyAccess::Read, false), RegStatus::NotFound);
  EXPECT_FALSE(registry.KeyExists(CU, key));
  ASSERT_EQ(registry.OpenKey(CU, key, KeyAccess::Full, true), RegStatus::Ok);
  ASSERT_EQ(registry.WriteValue(CU, key, "Entry", RegistryValue::Text("x")), RegStatus::Ok);
  EXPECT_EQ(registry.OpenKey(CU, key, KeyAccess::Read, false), RegStatus::Ok);
  EXPECT_THAT(this->Names(key), UnorderedElementsAre("Entry"));
  EXPECT_EQ(this->Read(key, "Entry").bytes, "x");
}

}  // namespace
