// The registry service on the real Windows registry (advapi32): the ANSI functions, and
// the wide ones for the Utf8 calls.
#pragma once

#include "platform/registry.h"

namespace platform::win32 {

// Values of a type the seam has no kind for (REG_NONE, REG_LINK, ...) read as Binary
// with their raw bytes. This backend never throws RegistryError: every failure the
// system reports comes back as a status.
class Win32Registry final : public Registry {
 public:
  RegStatus OpenKey(RootKey root, const std::string& path, KeyAccess access, bool create) override;
  bool KeyExists(RootKey root, const std::string& path) override;
  RegStatus ValueNames(RootKey root, const std::string& path,
                       std::vector<std::string>& names) override;
  RegStatus ReadValue(RootKey root, const std::string& path, const std::string& name,
                      RegistryValue& value) override;
  RegStatus WriteValue(RootKey root, const std::string& path, const std::string& name,
                       const RegistryValue& value) override;
  RegStatus DeleteValue(RootKey root, const std::string& path, const std::string& name) override;
  RegStatus DeleteKey(RootKey root, const std::string& path) override;
  RegStatus ReadValuesUtf8(RootKey root, const std::string& path,
                           std::vector<NamedValue>& values) override;
  RegStatus ReadValueUtf8(RootKey root, const std::string& path, const std::string& name,
                          RegistryValue& value) override;
  RegStatus WriteValueUtf8(RootKey root, const std::string& path, const std::string& name,
                           const RegistryValue& value) override;
  bool ToCodePage(const std::string& utf8, std::string& text) override;
  bool HasSeparate32BitView() override;
  std::string FromCodePage(const std::string& text) override;
};

}  // namespace platform::win32
