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
using ::testing::UnorderedElementsAre;

constexpr RootKey CU = RootKey::CurrentUser;

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
    ASSERT_EQ(
        RegSetValueExA(handle, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
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

// What every kind reads back as is checked on both backends; here, what the registry
// itself holds.
TEST_F(Win32RegistryTest, OtherProgramsSeeTerminatedStringsOfTheRightType) {
  const std::string key = scratch.path();
  ASSERT_EQ(registry.OpenKey(CU, key, KeyAccess::Full, true), RegStatus::Ok);
  ASSERT_EQ(registry.WriteValue(CU, key, "text", RegistryValue::Text("C:\\Games\\Mir\\mir.exe")),
            RegStatus::Ok);
  ASSERT_EQ(registry.WriteValue(CU, key, "multi",
                                RegistryValue{ValueKind::MultiString, std::string("a\0bc\0", 5)}),
            RegStatus::Ok);
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

// What the wide calls keep is a contract case; here, what the 8-bit calls make of it
// under the system's code page.
TEST_F(Win32RegistryTest, TheCodePageDecidesWhatConvertsExactly) {
  const std::string key = scratch.path();
  ASSERT_EQ(registry.OpenKey(CU, key, KeyAccess::Full, true), RegStatus::Ok);
  const std::string japanese = "\xE6\x97\xA5\xE6\x9C\xAC";  // two CJK characters
  const std::string data = "C:\\\xD0\x96.exe";
  ASSERT_EQ(registry.WriteValueUtf8(CU, key, "Plain", RegistryValue::Text(data + "Plain")),
            RegStatus::Ok);
  std::string text;
  EXPECT_EQ(registry.ToCodePage(japanese, text), GetACP() == CP_UTF8 || GetACP() == 932);
  // The lossy form is what the 8-bit calls read.
  registry.ToCodePage(data + "Plain", text);
  EXPECT_EQ(Read(key, "Plain").bytes, text);
}

}  // namespace
