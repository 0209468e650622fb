// A simulated Windows machine for the host tests: one of each in-memory service.
#pragma once

#include <string>

#include "platform/memory/memory_autostart.h"
#include "platform/memory/memory_clock.h"
#include "platform/memory/memory_desktop.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_process.h"
#include "platform/memory/memory_protection.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_system.h"
#include "platform/memory/memory_toolkit.h"
#include "platform/services.h"

namespace platform {

class MemoryMachine {
 public:
  MemoryMachine() = default;
  MemoryMachine(const MemoryMachine&) = delete;
  MemoryMachine& operator=(const MemoryMachine&) = delete;

  // The bundle handed to the code under test; it refers to this machine.
  Services services();

  MemoryRegistry& registry() { return registry_; }
  MemoryFiles& files() { return files_; }
  MemoryVolume& volume() { return volume_; }
  MemoryCursor& cursor() { return cursor_; }
  MemoryRandom& random() { return random_; }
  MemoryTrace& trace() { return trace_; }
  MemoryClock& clock() { return clock_; }
  MemoryDesktop& desktop() { return desktop_; }
  MemoryToolkit& toolkit() { return toolkit_; }
  MemoryProcess& process() { return process_; }
  MemoryShell& shell() { return shell_; }
  MemoryStartupFolders& startupFolders() { return startupFolders_; }
  MemoryDigests& digests() { return digests_; }
  MemoryUserProtection& protection() { return protection_; }

 private:
  MemoryRegistry registry_;
  MemoryFiles files_;
  MemoryVolume volume_;
  MemoryCursor cursor_;
  MemoryRandom random_;
  MemoryTrace trace_;
  MemoryClock clock_;
  MemoryDesktop desktop_{clock_};
  MemoryToolkit toolkit_{clock_, desktop_};
  MemoryProcess process_{clock_, desktop_};
  MemoryShell shell_{clock_, &files_};
  MemoryStartupFolders startupFolders_;
  MemoryDigests digests_;
  MemoryUserProtection protection_{random_};
};

}  // namespace platform
