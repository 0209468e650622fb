#include "platform/win32/win32_files.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <tuple>

#include "platform/win32/win32_wide.h"

namespace platform::win32 {
namespace {

class Win32File final : public File {
 public:
  explicit Win32File(HANDLE handle) : handle_(handle) {}
  Win32File(const Win32File&) = delete;
  Win32File& operator=(const Win32File&) = delete;
  ~Win32File() override { Close(); }

  std::optional<std::uint64_t> Size() override {
    LARGE_INTEGER size;
    if (handle_ == INVALID_HANDLE_VALUE || !GetFileSizeEx(handle_, &size)) return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
  }

  std::optional<std::size_t> Read(void* buffer, std::size_t count) override {
    if (handle_ == INVALID_HANDLE_VALUE) return std::nullopt;
    // ReadFile takes a DWORD count; a shorter read is allowed by the contract.
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(handle_, buffer, chunk, &got, nullptr)) return std::nullopt;
    return static_cast<std::size_t>(got);
  }

  bool Close() override {
    if (handle_ == INVALID_HANDLE_VALUE) return false;
    HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return CloseHandle(handle) != 0;
  }

 private:
  HANDLE handle_;
};

DWORD ShareFlags(FileShare share) {
  switch (share) {
    case FileShare::None: return 0;
    case FileShare::Read: return FILE_SHARE_READ;
    case FileShare::ReadWrite: return FILE_SHARE_READ | FILE_SHARE_WRITE;
  }
  return 0;
}

bool IsPlainPath(const std::string& path) {
  return !path.empty() && path.find('\0') == std::string::npos;
}

// The search would take these as wildcards, and no file name holds one.
bool HasWildcards(const std::string& path) {
  return path.find_first_of("*?<>\"") != std::string::npos;
}

}  // namespace

std::unique_ptr<File> Win32Files::Open(const std::string& path, FileAccess access,
                                       FileShare share) {
  if (!IsPlainPath(path)) return nullptr;
  DWORD desired = access == FileAccess::ReadWrite ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
  HANDLE handle = CreateFileW(WideFromUtf8(path).c_str(), desired, ShareFlags(share), nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  auto file = std::make_unique<Win32File>(handle);

  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return nullptr;
  }
  // Windows refuses write access to a read-only file itself; Wine keeps the attribute in
  // the Unix permissions, which do not stop a process running as root.
  if (access == FileAccess::ReadWrite && (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0)
    return nullptr;
  return file;
}

bool Win32Files::FindFirst(const std::string& path) {
  // A search for exactly such a path finds nothing.
  if (!IsPlainPath(path) || HasWildcards(path)) return false;
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW(WideFromUtf8(path).c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

EntryKind Win32Files::KindOf(const std::string& path) {
  if (!IsPlainPath(path) || HasWildcards(path)) return EntryKind::Missing;
  const DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return EntryKind::Missing;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Directory : EntryKind::File;
}

namespace {

// The volume and the file's number on it: what one file has, however it is named.
std::optional<std::tuple<DWORD, DWORD, DWORD>> Identity(const std::string& path) {
  if (!IsPlainPath(path) || HasWildcards(path)) return std::nullopt;
  HANDLE file = CreateFileW(WideFromUtf8(path).c_str(), FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool known = GetFileInformationByHandle(file, &info) != FALSE;
  CloseHandle(file);
  if (!known || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
  return std::tuple{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

}  // namespace

bool Win32Files::SameFile(const std::string& a, const std::string& b) {
  const auto first = Identity(a);
  return first && first == Identity(b);
}

}  // namespace platform::win32
