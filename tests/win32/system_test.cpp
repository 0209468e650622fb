#include "platform/win32/win32_system.h"

#include "platform/sha256.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace platform;

bool UnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

TEST(Win32Volume, SystemSerialOfDriveC) {
  win32::Win32Volume volume;
  std::optional<std::uint32_t> serial = volume.SystemSerial();
  ASSERT_TRUE(serial.has_value());
  // A Wine prefix reports a fixed serial until drive_c/.windows-serial sets another.
  if (UnderWine() && GetFileAttributesA("C:\\.windows-serial") == INVALID_FILE_ATTRIBUTES) {
    EXPECT_EQ(*serial, 0x43000000u);
  }
  EXPECT_EQ(volume.SystemSerial(), serial);
}

TEST(Win32Cursor, ShowsAndRemembersEachShape) {
  win32::Win32Cursor cursor;
  EXPECT_EQ(cursor.Current(), crDefault);
  const std::vector<std::pair<platform::CursorShape, LPCSTR>> shapes = {
      {crHourGlass, IDC_WAIT},
      {crCross, IDC_CROSS},
      {crHandPoint, IDC_HAND},
      {crDefault, IDC_ARROW},
      {static_cast<platform::CursorShape>(-99), IDC_ARROW}};
  for (const auto& [shape, system] : shapes) {
    cursor.Set(shape);
    EXPECT_EQ(cursor.Current(), shape);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, system)) << static_cast<int>(shape);
  }
}

TEST(Win32Random, EachGeneratorIsSeededAfresh) {
  win32::Win32Random first;
  win32::Win32Random second;
  std::vector<std::uint32_t> a, b;
  for (int i = 0; i < 8; ++i) {
    a.push_back(first.Below(0xFFFFFFFFu));
    b.push_back(second.Below(0xFFFFFFFFu));
  }
  EXPECT_NE(a, b);
}

// The utility password's key is derived by the program's own code (the system's
// derivation takes several times as long under Wine); it gives what the system's gives.
TEST(Win32KeyDerivation, TheProgramsPbkdf2GivesTheSystemsResult) {
  using Open = LONG(WINAPI*)(void**, LPCWSTR, LPCWSTR, ULONG);
  using Derive =
      LONG(WINAPI*)(void*, PUCHAR, ULONG, PUCHAR, ULONG, ULONGLONG, PUCHAR, ULONG, ULONG);
  HMODULE bcrypt = LoadLibraryExW(L"bcrypt.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  ASSERT_NE(bcrypt, nullptr);
  auto open = reinterpret_cast<Open>(
      reinterpret_cast<void*>(GetProcAddress(bcrypt, "BCryptOpenAlgorithmProvider")));
  auto derive = reinterpret_cast<Derive>(
      reinterpret_cast<void*>(GetProcAddress(bcrypt, "BCryptDeriveKeyPBKDF2")));
  ASSERT_TRUE(open && derive);
  void* algorithm = nullptr;
  constexpr ULONG HmacFlag = 0x8;
  ASSERT_EQ(open(&algorithm, L"SHA256", nullptr, HmacFlag), 0);
  struct Case {
    std::string password, salt;
    std::uint32_t rounds;
  };
  for (const Case& c : {Case{"Secret", std::string(16, '\x7f'), 2},
                        Case{"\xd0\x9f\xd0\xb0\xd1\x80\xd0\xbe\xd0\xbb\xd1\x8c",
                             std::string("\0salt\xff", 6), 1000},
                        Case{std::string(100, 'k'), "s", 600000}}) {
    SCOPED_TRACE(c.rounds);
    Sha256Digest system{};
    ASSERT_EQ(derive(algorithm, reinterpret_cast<PUCHAR>(const_cast<char*>(c.password.data())),
                     static_cast<ULONG>(c.password.size()),
                     reinterpret_cast<PUCHAR>(const_cast<char*>(c.salt.data())),
                     static_cast<ULONG>(c.salt.size()), c.rounds, system.data(),
                     static_cast<ULONG>(system.size()), 0),
              0);
    EXPECT_EQ(Pbkdf2HmacSha256(c.password, c.salt, c.rounds), system);
  }
}

}  // namespace
