#include "platform/win32/win32_system.h"

#include <windows.h>
#include <ntsecapi.h>

#include <array>

#include "platform/win32/win32_wide.h"

namespace platform::win32 {

std::optional<std::uint32_t> Win32Volume::SystemSerial() {
  if (serial_) return serial_;
  DWORD serial = 0;
  DWORD longestName = 0;
  DWORD flags = 0;
  if (!GetVolumeInformationA("C:\\", nullptr, 0, &serial, &longestName, &flags, nullptr, 0))
    return std::nullopt;
  serial_ = static_cast<std::uint32_t>(serial);
  return serial_;
}

void* CursorHandleFor(CursorShape shape) {
  switch (shape) {
    case crHourGlass: return LoadCursor(nullptr, IDC_WAIT);
    case crCross: return LoadCursor(nullptr, IDC_CROSS);
    case crHandPoint: return LoadCursor(nullptr, IDC_HAND);
    default: return LoadCursor(nullptr, IDC_ARROW);
  }
}

void Win32Cursor::Set(CursorShape shape) {
  current_ = shape;
  SetCursor(static_cast<HCURSOR>(CursorHandleFor(shape)));
}

namespace {

std::array<std::uint32_t, 8> SeedWords() {
  std::array<std::uint32_t, 8> words{};
  // The system generator through advapi32, a known DLL: an import the loader resolves
  // before the program runs must never be searched for beside the executable.
  if (RtlGenRandom(words.data(), sizeof words)) return words;
  // No system generator: fall back to values that differ from run to run.
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  words[0] = static_cast<std::uint32_t>(counter.QuadPart);
  words[1] = static_cast<std::uint32_t>(counter.QuadPart >> 32);
  words[2] = GetCurrentProcessId();
  words[3] = GetCurrentThreadId();
  words[4] = static_cast<std::uint32_t>(GetTickCount64());
  return words;
}

std::mt19937 SeededEngine() {
  std::array<std::uint32_t, 8> words = SeedWords();
  std::seed_seq seed(words.begin(), words.end());
  return std::mt19937(seed);
}

}  // namespace

Win32Random::Win32Random() : engine_(SeededEngine()) {}

std::uint32_t Win32Random::Below(std::uint32_t bound) {
  if (bound <= 1) return 0;
  return std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(engine_);
}

void Win32Trace::Note(const std::string& line) {
  OutputDebugStringW(WideFromUtf8("Quenlar: " + line + "\n").c_str());
}

}  // namespace platform::win32
