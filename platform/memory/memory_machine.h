// A simulated Windows machine for the host tests: one of each in-memory service.
#pragma once

#include "platform/memory/memory_files.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_system.h"
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

 private:
  MemoryRegistry registry_;
  MemoryFiles files_;
  MemoryVolume volume_;
  MemoryCursor cursor_;
  MemoryRandom random_;
};

}  // namespace platform
