// The Win32 backend as one object: owns every service and hands out the bundle.
#pragma once

#include "platform/services.h"
#include "platform/win32/win32_autostart.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_process.h"
#include "platform/win32/win32_protection.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_toolkit.h"

namespace platform::win32 {

class Win32Machine {
 public:
  Win32Machine() = default;
  Win32Machine(const Win32Machine&) = delete;
  Win32Machine& operator=(const Win32Machine&) = delete;

  // Valid as long as this machine lives.
  Services services();

 private:
  Win32Registry registry_;
  Win32Files files_;
  Win32Volume volume_;
  Win32Cursor cursor_;
  Win32Trace trace_;
  Win32Random random_;
  Win32Toolkit toolkit_{cursor_};  // after the cursor it reads; forms go before it
  Win32Desktop desktop_;
  Win32Clock clock_;
  Win32Process process_;
  Win32Shell shell_;
  Win32StartupFolders startupFolders_;
  Win32Digests digests_;
  Win32UserProtection protection_;
};

}  // namespace platform::win32
