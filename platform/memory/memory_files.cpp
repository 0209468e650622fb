#include "platform/memory/memory_files.h"

#include <cstring>
#include <map>
#include <stdexcept>
#include <utility>

#include "platform/ascii_fold.h"
#include "platform/memory/windows_path.h"

namespace platform {

namespace {

struct Entry {
  bool directory = false;
  std::uint32_t attributes = 0;
  std::shared_ptr<std::string> bytes;  // files only; shared with open handles
};

struct Handle {
  std::string key;
  FileAccess access;
  FileShare share;
  bool own;  // opened by this process through Open, not a hold
};

bool Reads(FileAccess) { return true; }
bool Writes(FileAccess a) { return a == FileAccess::ReadWrite; }
bool SharesRead(FileShare s) { return s != FileShare::None; }
bool SharesWrite(FileShare s) { return s == FileShare::ReadWrite; }

// Each side's share mode must allow the other side's access.
bool Compatible(FileAccess a1, FileShare s1, FileAccess a2, FileShare s2) {
  if (Reads(a1) && !SharesRead(s2)) return false;
  if (Writes(a1) && !SharesWrite(s2)) return false;
  if (Reads(a2) && !SharesRead(s1)) return false;
  if (Writes(a2) && !SharesWrite(s1)) return false;
  return true;
}

}  // namespace

struct MemoryFilesState {
  // Keyed by the folded full path ("C:\\GAMES\\MIR.EXE"); drive roots are implicit.
  std::map<std::string, Entry> entries;
  std::map<int, Handle> handles;
  int nextId = 1;
  WindowsPath workingDirectory{"C:"};
  FaultInjector faults;

  std::optional<std::string> Key(const std::string& path) const {
    auto resolved = ResolveWindowsPath(path, workingDirectory);
    if (!resolved) return std::nullopt;
    return FoldAscii(JoinWindowsPath(*resolved));
  }
  Entry* Find(const std::string& path) {
    auto key = Key(path);
    if (!key) return nullptr;
    auto it = entries.find(*key);
    return it == entries.end() ? nullptr : &it->second;
  }

  // The handle id, or 0 when the file cannot be opened as asked.
  int Acquire(const std::string& path, FileAccess access, FileShare share, bool own,
              std::shared_ptr<std::string>* bytes) {
    auto key = Key(path);
    if (!key) return 0;
    auto it = entries.find(*key);
    if (it == entries.end() || it->second.directory) return 0;
    if (Writes(access) && (it->second.attributes & file_attribute::ReadOnly)) return 0;
    for (const auto& [id, h] : handles)
      if (h.key == *key && !Compatible(h.access, h.share, access, share)) return 0;
    int id = nextId++;
    handles.emplace(id, Handle{*key, access, share, own});
    if (bytes) *bytes = it->second.bytes;
    return id;
  }
  void ReleaseHandle(int id) { handles.erase(id); }

  // Makes the directory and its parents; throws where a file stands in the way.
  void MakeDirectories(const WindowsPath& path, std::size_t levels) {
    WindowsPath prefix{path.front()};
    for (std::size_t i = 1; i < levels; ++i) {
      prefix.push_back(path[i]);
      auto [it, inserted] = entries.try_emplace(FoldAscii(JoinWindowsPath(prefix)));
      if (inserted) {
        it->second.directory = true;
        it->second.attributes = file_attribute::Directory;
      } else if (!it->second.directory) {
        throw std::invalid_argument("MemoryFiles: a file stands where a directory is needed: " +
                                    JoinWindowsPath(prefix));
      }
    }
  }
  WindowsPath ResolveOrThrow(const std::string& path, bool allowRoot) const {
    auto resolved = ResolveWindowsPath(path, workingDirectory);
    if (!resolved || (!allowRoot && resolved->size() < 2))
      throw std::invalid_argument("MemoryFiles: invalid path \"" + path + "\"");
    return *resolved;
  }
};

namespace {

class MemoryFile : public File {
 public:
  MemoryFile(std::shared_ptr<MemoryFilesState> state, int id, std::string path,
             std::shared_ptr<std::string> bytes)
      : state_(std::move(state)), id_(id), path_(std::move(path)), bytes_(std::move(bytes)) {}
  ~MemoryFile() override {
    if (open_) state_->ReleaseHandle(id_);
  }

  std::optional<std::uint64_t> Size() override {
    if (state_->faults.OnCall("Size", path_) || !open_) return std::nullopt;
    return bytes_->size();
  }

  std::optional<std::size_t> Read(void* buffer, std::size_t count) override {
    if (state_->faults.OnCall("Read", path_) || !open_) return std::nullopt;
    if (count == 0) return 0;
    if (!buffer) return std::nullopt;
    std::size_t available = position_ < bytes_->size() ? bytes_->size() - position_ : 0;
    std::size_t n = count < available ? count : available;
    if (n) std::memcpy(buffer, bytes_->data() + position_, n);
    position_ += n;
    return n;
  }

  bool Close() override {
    bool faulted = state_->faults.OnCall("Close", path_).has_value();
    if (!open_) return false;
    // Even a failed close gives the handle back, so a fault never leaks one.
    state_->ReleaseHandle(id_);
    open_ = false;
    return !faulted;
  }

 private:
  std::shared_ptr<MemoryFilesState> state_;
  int id_;
  std::string path_;
  std::shared_ptr<std::string> bytes_;
  std::size_t position_ = 0;
  bool open_ = true;
};

}  // namespace

FileHold::FileHold(std::shared_ptr<MemoryFilesState> state, int id)
    : state_(std::move(state)), id_(id) {}

FileHold::FileHold(FileHold&& other) noexcept : state_(std::move(other.state_)), id_(other.id_) {}

FileHold& FileHold::operator=(FileHold&& other) noexcept {
  if (this != &other) {
    Release();
    state_ = std::move(other.state_);
    id_ = other.id_;
  }
  return *this;
}

FileHold::~FileHold() { Release(); }

void FileHold::Release() {
  if (state_) state_->ReleaseHandle(id_);
  state_.reset();
}

MemoryFiles::MemoryFiles() : state_(std::make_shared<MemoryFilesState>()) {}

MemoryFiles::~MemoryFiles() = default;

FaultInjector& MemoryFiles::faults() { return state_->faults; }

std::unique_ptr<File> MemoryFiles::Open(const std::string& path, FileAccess access,
                                        FileShare share) {
  if (state_->faults.OnCall("Open", path)) return nullptr;
  std::shared_ptr<std::string> bytes;
  int id = state_->Acquire(path, access, share, true, &bytes);
  if (!id) return nullptr;
  return std::make_unique<MemoryFile>(state_, id, path, std::move(bytes));
}

bool MemoryFiles::FindFirst(const std::string& path) {
  if (state_->faults.OnCall("FindFirst", path)) return false;
  return state_->Find(path) != nullptr;
}

EntryKind MemoryFiles::KindOf(const std::string& path) {
  if (state_->faults.OnCall("KindOf", path)) return EntryKind::Missing;
  const Entry* entry = state_->Find(path);
  if (!entry) return EntryKind::Missing;
  return entry->directory ? EntryKind::Directory : EntryKind::File;
}

bool MemoryFiles::SameFile(const std::string& a, const std::string& b) {
  const auto keyA = state_->Key(a), keyB = state_->Key(b);
  if (!keyA || !keyB || *keyA != *keyB) return false;
  const Entry* entry = state_->Find(a);
  return entry && !entry->directory;
}

void MemoryFiles::SetWorkingDirectory(const std::string& path) {
  WindowsPath dir = state_->ResolveOrThrow(path, true);
  state_->MakeDirectories(dir, dir.size());
  state_->workingDirectory = dir;
}

std::string MemoryFiles::WorkingDirectory() const {
  return JoinWindowsPath(state_->workingDirectory);
}

void MemoryFiles::AddFile(const std::string& path, std::string bytes, std::uint32_t attributes) {
  WindowsPath file = state_->ResolveOrThrow(path, false);
  state_->MakeDirectories(file, file.size() - 1);
  Entry& entry = state_->entries[FoldAscii(JoinWindowsPath(file))];
  if (entry.directory)
    throw std::invalid_argument("MemoryFiles: a directory stands there: " + path);
  entry.attributes = attributes & ~file_attribute::Directory;
  // Open handles keep reading the contents they opened.
  entry.bytes = std::make_shared<std::string>(std::move(bytes));
}

void MemoryFiles::AddDirectory(const std::string& path, std::uint32_t attributes) {
  WindowsPath dir = state_->ResolveOrThrow(path, false);
  state_->MakeDirectories(dir, dir.size());
  state_->entries[FoldAscii(JoinWindowsPath(dir))].attributes =
      attributes | file_attribute::Directory;
}

void MemoryFiles::SetAttributes(const std::string& path, std::uint32_t attributes) {
  Entry* entry = state_->Find(path);
  if (!entry) throw std::invalid_argument("MemoryFiles: no such entry: " + path);
  entry->attributes = (attributes & ~file_attribute::Directory) |
                      (entry->directory ? file_attribute::Directory : 0);
}

bool MemoryFiles::Remove(const std::string& path) {
  auto key = state_->Key(path);
  if (!key || key->size() <= 3) return false;  // not a drive root
  if (!state_->entries.erase(*key)) return false;
  std::string prefix = *key + "\\";
  std::erase_if(state_->entries,
                [&](const auto& kv) { return kv.first.compare(0, prefix.size(), prefix) == 0; });
  return true;
}

bool MemoryFiles::Exists(const std::string& path) const { return state_->Find(path) != nullptr; }

std::optional<std::uint32_t> MemoryFiles::Attributes(const std::string& path) const {
  const Entry* entry = state_->Find(path);
  if (!entry) return std::nullopt;
  return entry->attributes;
}

std::optional<std::string> MemoryFiles::Contents(const std::string& path) const {
  const Entry* entry = state_->Find(path);
  if (!entry || entry->directory) return std::nullopt;
  return *entry->bytes;
}

FileHold MemoryFiles::HoldOpen(const std::string& path, FileAccess access, FileShare share) {
  int id = state_->Acquire(path, access, share, false, nullptr);
  if (!id) return FileHold();
  return FileHold(state_, id);
}

std::size_t MemoryFiles::OpenHandleCount() const {
  std::size_t n = 0;
  for (const auto& [id, h] : state_->handles)
    if (h.own) ++n;
  return n;
}

}  // namespace platform
