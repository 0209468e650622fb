#include "platform/win32/win32_process.h"

#include <windows.h>
#include <shellapi.h>

namespace platform::win32 {

std::string Win32Process::ExecutablePath() {
  // A path longer than the buffer comes back cut: grow until it fits.
  for (DWORD size = MAX_PATH; size <= 32768 * 2; size *= 2) {
    std::string path(size, '\0');
    DWORD length = GetModuleFileNameA(nullptr, path.data(), size);
    if (length == 0) return {};
    if (length < size) {
      path.resize(length);
      return path;
    }
  }
  return {};
}

std::string Win32Process::TempDirectory() {
  char buffer[MAX_PATH + 1];
  DWORD length = GetTempPathA(sizeof buffer, buffer);
  if (length == 0 || length > sizeof buffer) return {};
  // TMP often names the folder in its short form (LONGNA~1); a program opened from
  // Explorer has its long path.
  std::string path(buffer, length);
  DWORD size = GetLongPathNameA(path.c_str(), nullptr, 0);
  if (size == 0) return path;
  std::string longPath(size, '\0');
  size = GetLongPathNameA(path.c_str(), longPath.data(), size);
  if (size == 0 || size >= longPath.size()) return path;
  longPath.resize(size);
  if (longPath.back() != '\\') longPath += '\\';
  return longPath;
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
  HINSTANCE result = ShellExecuteA(reinterpret_cast<HWND>(owner), "open", file.c_str(),
                                   parameters.empty() ? nullptr : parameters.c_str(),
                                   directory.empty() ? nullptr : directory.c_str(), showCommand);
  return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace platform::win32
