#include "tests/win32/scratch.h"

#include <algorithm>
#include <stdexcept>

#include "platform/win32/win32_wide.h"

namespace scratch {
namespace {

using platform::win32::WideFromUtf8;

// Paths are UTF-8, as the seam takes them; the wide calls reach any name.
void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring child = path + L"\\" + name;
      SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(child);
      else
        DeleteFileW(child.c_str());
    } while (FindNextFileW(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryW(path.c_str());
}

}  // namespace

std::string ProcessTag() {
  std::string tag = "p";
  tag += std::to_string(GetCurrentProcessId());
  return tag;
}

Folder::Folder() {
  char base[MAX_PATH + 1];
  DWORD length = GetTempPathA(sizeof base, base);
  if (length == 0 || length > MAX_PATH) throw std::runtime_error("no temporary folder");
  path_ = std::string(base, length) + "quenlar-test-" + ProcessTag();
  RemoveTree(WideFromUtf8(path_));
  if (!CreateDirectoryA(path_.c_str(), nullptr)) throw std::runtime_error("cannot make " + path_);
}

Folder::~Folder() { RemoveTree(WideFromUtf8(path_)); }

std::string Folder::Write(const std::string& name, const std::string& bytes) const {
  std::string path = Child(name);
  HANDLE file = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + path);
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 24));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
      CloseHandle(file);
      throw std::runtime_error("cannot write " + path);
    }
    done += written;
  }
  CloseHandle(file);
  return path;
}

std::string Folder::MakeDirectory(const std::string& name) const {
  std::string path = Child(name);
  if (!CreateDirectoryW(WideFromUtf8(path).c_str(), nullptr))
    throw std::runtime_error("cannot make " + path);
  return path;
}

RegistryKey::RegistryKey() : path_("Software\\QuenlarTests\\" + ProcessTag()) {
  RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
}

RegistryKey::~RegistryKey() {
  RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\QuenlarTests");  // fails while others use it
}

Holder::Holder(const std::string& path, DWORD access, DWORD share)
    : handle_(CreateFileW(WideFromUtf8(path).c_str(), access, share, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {}

Holder::~Holder() {
  if (ok()) CloseHandle(handle_);
}

}  // namespace scratch
