// The program's own process: its executable's path, its priorities, and the shell's
// open operation. Paths are UTF-8, as everywhere in the seam (see files.h).
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace platform {

enum class PriorityClass { Normal, Realtime };
enum class ThreadPriority { Normal, Highest };

class Process {
 public:
  virtual ~Process() = default;
  // The full path of the running executable, as the system reports it, in UTF-8.
  virtual std::string ExecutablePath() = 0;
  // The user's folder for temporary files, in its long form and ending in a backslash,
  // so that it compares with ExecutablePath.
  virtual std::string TempDirectory() = 0;
  virtual bool SetPriorityClass(PriorityClass priority) = 0;
  virtual bool SetThreadPriority(ThreadPriority priority) = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // ShellExecute with the verb "open"; file, parameters and directory are UTF-8. Returns
  // the system's result: > 32 on success, else a code such as FileNotFound. No error box
  // is shown.
  virtual std::intptr_t Open(WindowHandle owner, const std::string& file,
                             const std::string& parameters, const std::string& directory,
                             int showCommand) = 0;
};

inline constexpr int ShowNormal = 5;  // the show-normal command the shell is given

// Some of the shell's failure codes.
namespace shell_result {
inline constexpr std::intptr_t FileNotFound = 2;
inline constexpr std::intptr_t PathNotFound = 3;
inline constexpr std::intptr_t AccessDenied = 5;
inline constexpr std::intptr_t BadFormat = 11;
inline constexpr std::intptr_t AssociationIncomplete = 27;
inline constexpr std::intptr_t NoAssociation = 31;
}  // namespace shell_result
}  // namespace platform
