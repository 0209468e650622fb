// Entry point of quenlar.exe.
#include <windows.h>

#include "platform/win32/win32_machine.h"
#include "ui/program.h"

namespace {

// The program starts with Windows from a user-writable folder: keep DLLs planted there
// out of the search before anything loads one. Looked up at run time because systems
// without the DLL-search update lack the function.
void RestrictDllSearch() {
  using SetDirectories = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  auto setDirectories = kernel ? reinterpret_cast<SetDirectories>(reinterpret_cast<void*>(
                                     GetProcAddress(kernel, "SetDefaultDllDirectories")))
                               : nullptr;
  if (!setDirectories || !setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
    SetDllDirectoryA("");  // at least drop the current directory
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  RestrictDllSearch();
  platform::win32::Win32Machine machine;
  platform::Services services = machine.services();
  return RunQuenlar(services, commandLine ? commandLine : "");
}
