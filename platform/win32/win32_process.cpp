#include "platform/win32/win32_process.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/win32/win32_wide.h"

namespace platform::win32 {

std::string Win32Process::ExecutablePath() {
  // A path longer than the buffer comes back cut: grow until it fits.
  for (DWORD size = MAX_PATH; size <= 32768 * 2; size *= 2) {
    std::wstring path(size, L'\0');
    DWORD length = GetModuleFileNameW(nullptr, path.data(), size);
    if (length == 0) return {};
    if (length < size) return Utf8FromWide(path.data(), length);
  }
  return {};
}

std::string Win32Process::TempDirectory() {
  // UTF-8 as the executable's path is, so that a user folder beyond the code page still
  // compares.
  wchar_t buffer[MAX_PATH + 1];
  DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  if (length == 0 || length > MAX_PATH + 1) return {};
  // TMP often names the folder in its short form (LONGNA~1); a program opened from
  // Explorer has its long path.
  std::wstring path(buffer, length);
  DWORD size = GetLongPathNameW(path.c_str(), nullptr, 0);
  if (size == 0) return Utf8FromWide(path);
  std::wstring longPath(size, L'\0');
  size = GetLongPathNameW(path.c_str(), longPath.data(), size);
  if (size == 0 || size >= longPath.size()) return Utf8FromWide(path);
  longPath.resize(size);
  if (longPath.back() != L'\\') longPath += L'\\';
  return Utf8FromWide(longPath);
}

bool Win32Process::SetPriorityClass(PriorityClass priority) {
  HANDLE process = OpenProcess(PROCESS_SET_INFORMATION, FALSE, GetCurrentProcessId());
  if (!process) return false;
  DWORD level =
      priority == PriorityClass::Realtime ? REALTIME_PRIORITY_CLASS : NORMAL_PRIORITY_CLASS;
  bool done = ::SetPriorityClass(process, level) != FALSE;
  CloseHandle(process);
  return done;
}

bool Win32Process::SetThreadPriority(ThreadPriority priority) {
  int level =
      priority == ThreadPriority::Highest ? THREAD_PRIORITY_HIGHEST : THREAD_PRIORITY_NORMAL;
  return ::SetThreadPriority(GetCurrentThread(), level) != FALSE;
}

std::intptr_t Win32Shell::Open(WindowHandle owner, const std::string& file,
                               const std::string& parameters, const std::string& directory,
                               int showCommand) {
  const std::wstring wideFile = WideFromUtf8(file);
  const std::wstring wideParameters = WideFromUtf8(parameters);
  const std::wstring wideDirectory = WideFromUtf8(directory);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  // The caller reports a failure itself; the shell's own error box would stop the
  // program until someone closes it.
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.hwnd = reinterpret_cast<HWND>(owner);
  info.lpVerb = L"open";
  info.lpFile = wideFile.c_str();
  info.lpParameters = parameters.empty() ? nullptr : wideParameters.c_str();
  info.lpDirectory = directory.empty() ? nullptr : wideDirectory.c_str();
  info.nShow = showCommand;
  if (ShellExecuteExW(&info)) return reinterpret_cast<std::intptr_t>(info.hInstApp);
  const std::intptr_t code = reinterpret_cast<std::intptr_t>(info.hInstApp);
  if (code > 0 && code <= 32) return code;
  // Without a code of the shell's own, the system's error stands for it (those below 32
  // mean the same in both).
  const DWORD error = GetLastError();
  if (error == ERROR_BAD_EXE_FORMAT) return SE_ERR_NOASSOC;
  return error > 0 && error <= 32 ? static_cast<std::intptr_t>(error) : 0;
}

}  // namespace platform::win32
