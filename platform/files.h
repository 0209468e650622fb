// The file service: opening and reading files, and looking names up.
//
// Paths are Windows paths ("C:\\Games\\Mir\\mir.exe") in UTF-8, so that any name the
// file system holds can be reached, also one the system code page cannot hold; a path
// without a drive or a leading backslash is relative to the process's working
// directory. Names match as the file system matches them (on Windows, and in memory,
// without regard to letter case). A path holding "?" or "*" names nothing.
//
// Opening asks for an access and says what others may do while the file is open
// (the share mode). An open fails when the file is missing, is a directory, is
// read-only and write access is asked for, or conflicts with a handle already open
// (in this process or another): either side's share mode must allow the other's access.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform {

enum class FileAccess { Read, ReadWrite };
enum class FileShare { None, Read, ReadWrite };
enum class EntryKind { Missing, File, Directory };

class File {
 public:
  virtual ~File() = default;  // closes the file if Close was not called
  virtual std::optional<std::uint64_t> Size() = 0;
  // Reads up to `count` bytes at the current position and advances it. Returns the
  // number read, 0 at the end of the file, nullopt on failure.
  virtual std::optional<std::size_t> Read(void* buffer, std::size_t count) = 0;
  // Releases the handle; false if the system reported a failure. Later calls fail.
  virtual bool Close() = 0;
};

class Files {
 public:
  virtual ~Files() = default;
  // The open file, or nullptr when it cannot be opened as asked.
  virtual std::unique_ptr<File> Open(const std::string& path, FileAccess access,
                                     FileShare share) = 0;
  // True when a directory search for exactly this path finds a first match: an entry
  // of any kind (file or directory) with any attributes. Wildcards are not used.
  virtual bool FindFirst(const std::string& path) = 0;
  // What the path names: a file, a directory, or nothing that can be reached (missing,
  // not allowed to look, or not a valid name).
  virtual EntryKind KindOf(const std::string& path) = 0;
  // Whether two paths name one existing file, however each is written (letter case, a
  // short name, "." and ".." steps). False when either names nothing.
  virtual bool SameFile(const std::string& a, const std::string& b) = 0;
};

}  // namespace platform
