// Files in memory: a tree of files and directories per drive, names in UTF-8 compared
// without regard to ASCII letter case, Windows paths (see windows_path.h), attributes, and
// open handles with their access and share modes, checked as Windows checks them.
//
// Open, Size, Read, Close, FindFirst and KindOf are journaled and subject to fault injection
// (every injected fault is a plain failure here). The setup and inspection helpers are
// not; they throw std::invalid_argument when asked for something impossible.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/files.h"
#include "platform/memory/fault_injector.h"

namespace platform {

// Attribute bits, valued as Windows values them.
namespace file_attribute {
inline constexpr std::uint32_t ReadOnly = 0x1;
inline constexpr std::uint32_t Hidden = 0x2;
inline constexpr std::uint32_t System = 0x4;
inline constexpr std::uint32_t Directory = 0x10;
}  // namespace file_attribute

struct MemoryFilesState;

// A handle held by "another process"; released when destroyed or by Release.
class FileHold {
 public:
  FileHold() = default;
  FileHold(std::shared_ptr<MemoryFilesState> state, int id);
  FileHold(FileHold&& other) noexcept;
  FileHold& operator=(FileHold&& other) noexcept;
  ~FileHold();
  // False when the hold could not be taken (missing file, directory, conflict).
  bool held() const { return state_ != nullptr; }
  void Release();

 private:
  std::shared_ptr<MemoryFilesState> state_;
  int id_ = 0;
};

class MemoryFiles : public Files {
 public:
  MemoryFiles();  // working directory "C:\"
  ~MemoryFiles() override;
  MemoryFiles(const MemoryFiles&) = delete;
  MemoryFiles& operator=(const MemoryFiles&) = delete;

  std::unique_ptr<File> Open(const std::string& path, FileAccess access, FileShare share) override;
  bool FindFirst(const std::string& path) override;
  EntryKind KindOf(const std::string& path) override;
  bool SameFile(const std::string& a, const std::string& b) override;

  FaultInjector& faults();

  // Relative paths resolve against it; the directory is created if missing.
  void SetWorkingDirectory(const std::string& path);
  std::string WorkingDirectory() const;

  // Creates or replaces a file, making missing parent directories. The Directory bit
  // in `attributes` is ignored.
  void AddFile(const std::string& path, std::string bytes, std::uint32_t attributes = 0);
  // Creates a directory and its missing parents; an existing one gets the attributes.
  void AddDirectory(const std::string& path, std::uint32_t attributes = 0);
  // Replaces the attributes of an existing entry, keeping its Directory bit.
  void SetAttributes(const std::string& path, std::uint32_t attributes);
  // Removes a file, or a directory with everything in it; false if nothing was there.
  bool Remove(const std::string& path);

  bool Exists(const std::string& path) const;
  std::optional<std::uint32_t> Attributes(const std::string& path) const;
  std::optional<std::string> Contents(const std::string& path) const;

  // Opens the file as another process would, under the same sharing rules as Open.
  FileHold HoldOpen(const std::string& path, FileAccess access, FileShare share);
  // Handles this process opened through Open and has not yet closed or destroyed.
  std::size_t OpenHandleCount() const;

 private:
  std::shared_ptr<MemoryFilesState> state_;
};

}  // namespace platform
