// The Startup folders and the digests in memory.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/digest.h"
#include "platform/startup_folders.h"

namespace platform {

// Folders hold what the test puts there, in that order.
class MemoryStartupFolders : public StartupFolders {
 public:
  std::vector<StartupItem> Items(StartupFolder folder) override;
  // Adds the item, or replaces the one of the same name.
  void Put(StartupFolder folder, const std::string& name, const std::string& target);
  void Remove(StartupFolder folder, const std::string& name);

 private:
  std::map<StartupFolder, std::vector<StartupItem>> folders_;
};

// A small portable SHA-256, checked against the standard's examples.
class MemoryDigests : public Digests {
 public:
  std::unique_ptr<Sha256> NewSha256() override;
};

}  // namespace platform
