// The file service on the Windows file system (kernel32, wide functions).
#pragma once

#include "platform/files.h"

namespace platform::win32 {

// Opens disk files only: a directory, a device ("CON", "COM1") or a pipe is refused,
// since reading one could block or mean nothing as file contents.
class Win32Files final : public Files {
 public:
  std::unique_ptr<File> Open(const std::string& path, FileAccess access, FileShare share) override;
  bool FindFirst(const std::string& path) override;
  EntryKind KindOf(const std::string& path) override;
  bool SameFile(const std::string& a, const std::string& b) override;
};

}  // namespace platform::win32
