// The program's own process and the shell on Win32.
#pragma once

#include "platform/process.h"

namespace platform::win32 {

class Win32Process final : public Process {
 public:
  std::string ExecutablePath() override;
  std::string TempDirectory() override;
  bool SetPriorityClass(PriorityClass priority) override;
  bool SetThreadPriority(ThreadPriority priority) override;
};

class Win32Shell final : public Shell {
 public:
  // Empty parameters or directory are passed as none.
  std::intptr_t Open(WindowHandle owner, const std::string& file, const std::string& parameters,
                     const std::string& directory, int showCommand) override;
};

}  // namespace platform::win32
