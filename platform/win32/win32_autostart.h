// The Startup folders and the digests on Windows.
#pragma once

#include "platform/digest.h"
#include "platform/startup_folders.h"

namespace platform::win32 {

// The folders come from the shell; shortcuts are read through its link object.
class Win32StartupFolders final : public StartupFolders {
 public:
  std::vector<StartupItem> Items(StartupFolder folder) override;
};

// SHA-256 from the system's cryptographic provider (advapi32, no extra DLL).
class Win32Digests final : public Digests {
 public:
  std::unique_ptr<Sha256> NewSha256() override;
};

}  // namespace platform::win32
