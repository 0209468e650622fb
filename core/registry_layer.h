// A short-lived accessor over the registry service: select a root, open one key by
// its absolute path, then read, write and delete values on it.
//
// Paths begin with a backslash and are always taken from the root, never from the
// open key; names match without regard to letter case. A key that cannot be opened
// leaves no key open, so the following reads fail (callers fall back to defaults) and
// writes report failure. RegistryError from the service is not caught here: it reaches
// the handler guard, or the caller absorbs it where the step may fail (core/absorb.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

class RegistryLayer {
 public:
  // Starts on HKEY_CURRENT_USER with no key open.
  explicit RegistryLayer(platform::Registry& registry);

  // Changes the root; the open key, which belongs to the old root, is closed.
  void SelectRoot(platform::RootKey root);

  // Opens the key, making it and any missing parents when allowed.
  bool OpenKey(const std::string& path, bool canCreate,
               platform::KeyAccess access = platform::KeyAccess::Full);
  bool KeyExists(const std::string& path);

  // All value names of the open key in the registry's order; empty when no key is open
  // or the list cannot be read.
  std::vector<std::string> ValueNames();

  // The text of a String or ExpandString value; "" when the value is missing; nullopt
  // when no key is open, the value has another type, or the read fails.
  std::optional<std::string> ReadText(const std::string& name);
  // nullopt when no key is open or the value is missing or not a DWORD.
  std::optional<std::int32_t> ReadInteger(const std::string& name);
  // As ReadInteger; any non-zero DWORD is on.
  std::optional<bool> ReadBool(const std::string& name);

  // Create or replace a value in the open key; false on failure.
  bool WriteText(const std::string& name, const std::string& text);
  bool WriteInteger(const std::string& name, std::int32_t value);
  bool WriteBool(const std::string& name, bool value);

  bool DeleteValue(const std::string& name);

  // The same through the registry's Utf8 calls: names and texts in UTF-8.
  // Every value of the open key with its data; empty as ValueNames is.
  std::vector<platform::NamedValue> Values();
  std::optional<std::string> ReadTextUtf8(const std::string& name);
  bool WriteTextUtf8(const std::string& name, const std::string& text);
  // The code-page form of a UTF-8 text; false when the code page cannot hold it.
  bool ToCodePage(const std::string& utf8, std::string& text);
  // Removes the key with every key and value below it.
  bool DeleteKey(const std::string& path);

 private:
  std::optional<std::uint32_t> ReadDword(const std::string& name);
  bool Write(const std::string& name, const platform::RegistryValue& value);

  platform::Registry& registry_;
  platform::RootKey root_ = platform::RootKey::CurrentUser;
  std::optional<std::string> openKey_;
};
