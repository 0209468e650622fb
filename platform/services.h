// The services the program runs on, handed down from the entry point. One backend
// (Win32 or in-memory) owns the objects; everything else only holds this bundle.
#pragma once

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/digest.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/protection.h"
#include "platform/registry.h"
#include "platform/startup_folders.h"
#include "platform/system.h"
#include "platform/toolkit.h"

namespace platform {

struct Services {
  Registry& registry;
  Files& files;
  Volume& volume;
  Cursor& cursor;
  Random& random;
  Trace& trace;
  Toolkit& toolkit;
  Desktop& desktop;
  Clock& clock;
  Process& process;
  Shell& shell;
  StartupFolders& startupFolders;
  Digests& digests;
  UserProtection& protection;
};

}  // namespace platform
