// The services the program runs on, handed down from the entry point. One backend
// (Win32 or in-memory) owns the objects; everything else only holds this bundle.
#pragma once

#include "platform/files.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace platform {

struct Services {
  Registry& registry;
  Files& files;
  Volume& volume;
  Cursor& cursor;
  Random& random;
};

}  // namespace platform
