#include "platform/win32/win32_registry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/win32/scratch.h"

namespace {

using platform::KeyAccess;
using platform::RegistryValue;
using platform::RegStatus;
using platform::RootKey;
using platform::ValueKind;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

constexpr RootKey CU = RootKey::CurrentUser;

std::string InBackslashes(const std::string& path) {
  std::string wrapped = "\\";
  wrapped += path;
  wrapped += '\\';
  return wrapped;
}

class Win32RegistryTest : public ::testing::Test {
 protected:
  // The stored type and raw bytes, as other programs see them.
  static bool RawValue(const std::string& key, const std::string& name, DWORD& type,
                       std::string& bytes) {
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
      return false;
    DWORD size = 0;
    LSTATUS error = RegQueryValueExA(handle, name.c_str(), nullptr, &type, nullptr, &size);
    bytes.assign(size, '\0');
    if (error == ERROR_SUCCESS)
      error = RegQueryValueExA(handle, name.c_str(), nullptr, &type,
                               reinterpret_cast<BYTE*>(bytes.data()), &size);
    RegCloseKey(handle);
    return error == ERROR_SUCCESS;
  }

  static void SetRaw(const std::string& key, const std::string& name, DWORD type,
                     const std::string& bytes) {
    HKEY handle;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(handle, name.c_str(), 0, type,
                             reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
    RegCloseKey(handle);
  }

  RegistryValue Read(const std::string& key, const std::string& name) {
    RegistryValue value;
    EXPECT_EQ(registry.ReadValue(CU, key, name, value), RegStatus::Ok) << key << " " << name;
    return value;
  }

  scratch::RegistryKey scratch;
  platform::win32::Win32Registry registry;
};

TEST_F(Win32RegistryTest, CreatesNestedKeysIgnoringOuterBackslashes) {
  ASSERT_EQ(registry.OpenKey(CU, InBackslashes(scratch.Child("One\\Two")), KeyAccess::Full, true),
            RegStatus::Ok);
  HKEY raw;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, scratch.Child("One\\Two").c_str(), 0, KEY_READ, &raw),
            ERROR_SUCCESS);
  RegCloseKey(raw);

  EXPECT_TRUE(registry.KeyExists(CU, scratch.Child("one\\TWO")));
  EXPECT_EQ(registry.OpenKey(CU, scratch.Child("One\\Two"), KeyAccess::Read, false), RegStatus::Ok);
  EXPECT_EQ(registry.OpenKey(CU, scratch.Child("One\\Two"), KeyAccess::Full, false), RegStatus::Ok);
  // Creating what exists already is fine.
  EXPECT_EQ(registry.OpenKey(CU, scratch.Child("One"), KeyAccess::Full, true), RegStatus::Ok);
}

TEST_F(Win32RegistryTest, MissingKeysAndValuesAreNotFound) {
  const std::string missing = scratch.Child("Missing");
  std::vector<std::string> names{"kept"};
  RegistryValue value;
  EXPECT_EQ(registry.OpenKey(CU, missing, KeyAccess::Read, false), RegStatus::NotFound);
  EXPECT_FALSE(registry.KeyExists(CU, missing));
  EXPECT_EQ(registry.ValueNames(CU, missing, names), RegStatus::NotFound);
  EXPECT_EQ(names, std::vector<std::string>{"kept"});
  EXPECT_EQ(registry.ReadValue(CU, missing, "x", value), RegStatus::NotFound);
  EXPECT_EQ(registry.WriteValue(CU, missing, "x", RegistryValue::Dword(1)), RegStatus::NotFound);
  EXPECT_FALSE(registry.KeyExists(CU, missing)) << "writing must not create the key";
  EXPECT_EQ(registry.DeleteValue(CU, missing, "x"), RegStatus::NotFound);
  EXPECT_EQ(registry.DeleteKey(CU, missing), RegStatus::NotFound);

  ASSERT_EQ(registry.OpenKey(CU, scratch.path(), KeyAccess::Full, true), RegStatus::Ok);
  EXPECT_EQ(registry.ReadValue(CU, scratch.path(), "x", value), RegStatus::NotFound);
  EXPECT_EQ(registry.DeleteValue(CU, scratch.path(), "x"), RegStatus::NotFound);
  EXPECT_EQ(registry.ValueNames(CU, scratch.path(), names), RegStatus::Ok);
  EXPECT_THAT(names, IsEmpty());
}

TEST_F(Win32RegistryTest, ValuesOfEveryKindRoundTrip) {
  const std::string key = scratch.path();
  ASSERT_EQ(registry.OpenKey(CU, key, KeyAccess::Full, true), RegStatus::Ok);
  const std::vector<std::pair<std::string, RegistryValue>> values = {
      {"text", RegistryValue::Text("C:\\Games\\Mir\\mir.exe")},
      {"empty", RegistryValue::Text("")},
      {"long", RegistryValue::Text(std::string(100000, 'x'))},
      {"expand", RegistryValue::Text("%SystemRoot%\\x.exe", ValueKind::ExpandString)},
      {"multi", RegistryValue{ValueKind::MultiString, std::string("a\0bc\0", 5)}},
      {"binary", RegistryValue{ValueKind::Binary, std::string("\0\x01\xff\0", 4)}},
      {"dword", RegistryValue::Dword(0xDEADBEEF)},
      {"qword", RegistryValue{ValueKind::Qword, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)}},
  };
  for (const auto& [name, value] : values)
    ASSERT_EQ(registry.WriteValue(CU, key, name, value), RegStatus::Ok) << name;
  for (const auto& [name, value] : values) {
    RegistryValue back = Read(key, name);
    EXPECT_EQ(back.kind, value.kind) << name;
    EXPECT_EQ(back.bytes, value.bytes) << name;
  }
  EXPECT_EQ(Read(key, "dword").AsDword(), 0xDEADBEEFu);

  // Other programs see ordinary terminated strings of the right type.
  DWORD type = 0;
  std::string raw;
  ASSERT_TRUE(RawValue(key, "text", type, raw));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(raw, std::string("C:\\Games\\Mir\\mir.exe") + '\0');
  ASSERT_TRUE(RawValue(key, "multi", type, raw));
  EXPECT_EQ(type, static_cast<DWORD>(REG_MULTI_SZ));
  EXPECT_EQ(raw, std::string("a\0bc\0\0", 6));
}

TEST_F(Win32RegistryTest, ValuesWrittenByOtherProgramsReadByType) {
  const std::string key = scratch.path();
  SetRaw(key, "bare", REG_SZ, "ab");
  SetRaw(key, "doubled", REG_SZ, std::string("ab\0\0", 4));
  // Wine lets a four-byte REG_SZ fill a DWORD buffer; only the type tells them apart.
  SetRaw(key, "word", REG_SZ, std::string("ab\0", 3));
  SetRaw(key, "number", REG_DWORD, std::string("\x07\0\0\0", 4));
  SetRaw(key, "other", REG_NONE, "zz");

  EXPECT_EQ(Read(key, "bare").bytes, "ab");
  EXPECT_EQ(Read(key, "doubled").bytes, std::string("ab\0", 3)) << "one terminator dropped";
  RegistryValue word = Read(key, "word");
  EXPECT_EQ(word.kind, ValueKind::String);
  EXPECT_EQ(word.bytes, "ab");
  RegistryValue number = Read(key, "number");
  EXPECT_EQ(number.kind, ValueKind::Dword);
  EXPECT_EQ(number.AsDword(), 7u);
  RegistryValue other = Read(key, "other");
  EXPECT_EQ(other.kind, ValueKind::Binary);
  EXPECT_EQ(other.bytes, "zz");
}

TEST_F(Win32RegistryTest, NamesMatchWithoutLetterCaseAndKeepTheirOwn) {
  ASSERT_EQ(registry.OpenKey(CU, scratch.Child("Case\\Key"), KeyAccess::Full, true), RegStatus::Ok);
  ASSERT_EQ(registry.WriteValue(CU, scratch.Child("Case\\Key"), "MixedCase", RegistryValue::Text("1")),
            RegStatus::Ok);
  EXPECT_EQ(Read(scratch.Child("CASE\\key"), "mixedcase").bytes, "1");
  ASSERT_EQ(registry.WriteValue(CU, scratch.Child("case\\key"), "MIXEDCASE", RegistryValue::Text("2")),
            RegStatus::Ok);
  std::vector<std::string> names;
  ASSERT_EQ(registry.ValueNames(CU, scratch.Child("Case\\Key"), names), RegStatus::Ok);
  EXPECT_THAT(names, UnorderedElementsAre("MixedCase"));
  EXPECT_EQ(Read(scratch.Child("Case\\Key"), "MixedCase").bytes, "2");
}

TEST_F(Win32RegistryTest, EnumeratesEveryValueName) {
  const std::string key = scratch.path();
  ASSERT_EQ(registry.OpenKey(CU, key, KeyAccess::Full, true), RegStatus::Ok);
  const std::string long_name(300, 'n');
  for (const std::string& name : {std::string("b"), std::string("A"), std::string("c"),
                                  std::string(""), long_name})
    ASSERT_EQ(registry.WriteValue(CU, key, name, RegistryValue::Dword(1)), RegStatus::Ok);
  // A subkey is no value.
  ASSERT_EQ(registry.OpenKey(CU, scratch.Child("sub"), KeyAccess::Full, true), RegStatus::Ok);
  std::vector<std::string> names;
  ASSERT_EQ(registry.ValueNames(CU, key, names), RegStatus::Ok);
  EXPECT_THAT(names, UnorderedElementsAre("b", "A", "c", "", long_name));
}

TEST_F(Win32RegistryTest, DeleteValueRemovesOnlyThatValue) {
  const std::string key = scratch.path();
  ASSERT_EQ(registry.OpenKey(CU, key, KeyAccess::Full, true), RegStatus::Ok);
  ASSERT_EQ(registry.WriteValue(CU, key, "gone", RegistryValue::Text("x")), RegStatus::Ok);
  ASSERT_EQ(registry.WriteValue(CU, key, "kept", RegistryValue::Text("y")), RegStatus::Ok);
  EXPECT_EQ(registry.DeleteValue(CU, key, "GONE"), RegStatus::Ok);
  EXPECT_EQ(registry.DeleteValue(CU, key, "gone"), RegStatus::NotFound);
  std::vector<std::string> names;
  ASSERT_EQ(registry.ValueNames(CU, key, names), RegStatus::Ok);
  EXPECT_THAT(names, UnorderedElementsAre("kept"));
}

TEST_F(Win32RegistryTest, DeleteKeyRemovesTheWholeTree) {
  const std::string tree = scratch.Child("Tree");
  ASSERT_EQ(registry.OpenKey(CU, tree + "\\A\\B", KeyAccess::Full, true), RegStatus::Ok);
  ASSERT_EQ(registry.OpenKey(CU, scratch.Child("Sibling"), KeyAccess::Full, true), RegStatus::Ok);
  ASSERT_EQ(registry.WriteValue(CU, tree, "v", RegistryValue::Text("x")), RegStatus::Ok);
  ASSERT_EQ(registry.WriteValue(CU, tree + "\\A\\B", "w", RegistryValue::Text("y")), RegStatus::Ok);

  EXPECT_EQ(registry.DeleteKey(CU, InBackslashes(scratch.Child("TREE"))), RegStatus::Ok);
  EXPECT_FALSE(registry.KeyExists(CU, tree));
  EXPECT_FALSE(registry.KeyExists(CU, tree + "\\A\\B"));
  EXPECT_TRUE(registry.KeyExists(CU, scratch.Child("Sibling")));
  EXPECT_EQ(registry.DeleteKey(CU, tree), RegStatus::NotFound);
}

TEST_F(Win32RegistryTest, RefusesTheRootAndEmbeddedNuls) {
  EXPECT_EQ(registry.DeleteKey(CU, ""), RegStatus::Failed);
  EXPECT_EQ(registry.DeleteKey(CU, "\\\\"), RegStatus::Failed);
  EXPECT_TRUE(registry.KeyExists(CU, "Software"));

  ASSERT_EQ(registry.OpenKey(CU, scratch.path(), KeyAccess::Full, true), RegStatus::Ok);
  const std::string nul_name("a\0b", 3);
  RegistryValue value;
  EXPECT_EQ(registry.WriteValue(CU, scratch.path(), nul_name, RegistryValue::Text("x")),
            RegStatus::Failed);
  EXPECT_EQ(registry.ReadValue(CU, scratch.path(), nul_name, value), RegStatus::Failed);
  // Cut at the NUL this path would name the scratch key itself.
  EXPECT_EQ(registry.DeleteKey(CU, scratch.path() + std::string("\0x", 2)), RegStatus::Failed);
  EXPECT_TRUE(registry.KeyExists(CU, scratch.path()));
}

// Names beyond the code page keep their identity through the wide calls, where the
// 8-bit calls see "?" marks; texts the code page holds convert exactly.
TEST_F(Win32RegistryTest, WideCallsKeepNamesTheCodePageCannotHold) {
  const std::string key = scratch.path();
  ASSERT_EQ(registry.OpenKey(CU, key, KeyAccess::Full, true), RegStatus::Ok);
  const std::string japanese = "\xE6\x97\xA5\xE6\x9C\xAC";          // two CJK characters
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
  EXPECT_EQ(registry.ToCodePage(japanese, text), GetACP() == CP_UTF8 || GetACP() == 932);
  // The lossy form is what the 8-bit calls read.
  registry.ToCodePage(data + "Plain", text);
  EXPECT_EQ(Read(key, "Plain").bytes, text);
}

}  // namespace
