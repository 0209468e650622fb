#include "platform/memory/memory_autostart.h"

#include <algorithm>
#include <cstring>

#include "platform/ascii_fold.h"
#include "platform/sha256.h"

namespace platform {

std::vector<StartupItem> MemoryStartupFolders::Items(StartupFolder folder) {
  return folders_[folder];
}

void MemoryStartupFolders::Put(StartupFolder folder, const std::string& name,
                               const std::string& target) {
  auto& items = folders_[folder];
  for (StartupItem& item : items)
    if (EqualsFolded(item.name, name)) {
      item.target = target;
      return;
    }
  items.push_back({name, target});
}

void MemoryStartupFolders::Remove(StartupFolder folder, const std::string& name) {
  std::erase_if(folders_[folder],
                [&](const StartupItem& item) { return EqualsFolded(item.name, name); });
}

namespace {

class PortableSha256 final : public Sha256 {
 public:
  void Update(const void* data, std::size_t size) override { hasher_.Update(data, size); }
  Sha256Digest Finish() override { return hasher_.Finish(); }

 private:
  Sha256Hasher hasher_;
};

}  // namespace

std::unique_ptr<Sha256> MemoryDigests::NewSha256() { return std::make_unique<PortableSha256>(); }

}  // namespace platform
