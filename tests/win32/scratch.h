// Scratch places for the Win32 tests: a temporary folder and a registry key of this
// process's own, removed again when the test ends.
#pragma once

#include <windows.h>

#include <string>

namespace scratch {

std::string ProcessTag();

class Folder {
 public:
  Folder();
  ~Folder();
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  const std::string& path() const { return path_; }
  std::string Child(const std::string& name) const { return path_ + "\\" + name; }
  // Writes a file in this folder and returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const;
  std::string MakeDirectory(const std::string& name) const;

 private:
  std::string path_;
};

// HKCU\Software\QuenlarTests\<process>; gone before and after the test.
class RegistryKey {
 public:
  RegistryKey();
  ~RegistryKey();
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  const std::string& path() const { return path_; }
  std::string Child(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

// Holds a file open with the given access and share flags, as another program would.
class Holder {
 public:
  Holder(const std::string& path, DWORD access, DWORD share);
  ~Holder();
  Holder(const Holder&) = delete;
  Holder& operator=(const Holder&) = delete;
  bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

}  // namespace scratch
