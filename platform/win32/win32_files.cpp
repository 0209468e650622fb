#include "platform/win32/win32_files.h"

#include <windows.h>

#include <algorithm>

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

}  // namespace

std::unique_ptr<File> Win32Files::Open(const std::string& path, FileAccess access,
                                       FileShare share) {
  if (!IsPlainPath(path)) return nullptr;
  DWORD desired = access == FileAccess::ReadWrite ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
  HANDLE handle = CreateFileA(path.c_str(), desired, ShareFlags(share), nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
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
  // The search would take these as wildcards; no file name holds one, so a search for
  // exactly such a path finds nothing.
  if (!IsPlainPath(path) || path.find_first_of("*?<>\"") != std::string::npos) return false;
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(path.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

}  // namespace platform::win32
