#include "platform/win32/win32_system.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <set>
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

}  // namespace
