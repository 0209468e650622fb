#include "platform/win32/win32_clock.h"

#include <windows.h>

namespace platform::win32 {

namespace {

// Days from 1 January 1970 to a date of the proleptic Gregorian calendar.
long long DaysFromCivil(long long year, unsigned month, unsigned day) {
  year -= month <= 2;
  long long era = (year >= 0 ? year : year - 399) / 400;
  auto yearOfEra = static_cast<unsigned>(year - era * 400);
  unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

}  // namespace

DateTime ToDateTime(int year, int month, int day, int hour, int minute, int second,
                    int millisecond) {
  long long days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                   DaysFromCivil(1899, 12, 30);
  double milliseconds = ((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond;
  return static_cast<double>(days) + milliseconds / 86400000.0;
}

DateTime Win32Clock::Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return ToDateTime(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond,
                    now.wMilliseconds);
}

// Waits without running any posted message or timer, but answers the messages other
// threads send meanwhile: another program pasting what this one put on the clipboard
// waits for such answers (Wine stalls its paste for seconds behind a bare Sleep), and the
// chat posts sleep while the game pastes.
void Win32Clock::Sleep(int ms) {
  if (ms <= 0) {
    ::Sleep(0);
    return;
  }
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms);
  for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
    DWORD woke =
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_SENDMESSAGE, 0);
    if (woke != WAIT_OBJECT_0) break;
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace platform::win32
