// The registry service: the Windows registry as the program sees it.
//
// Keys are named by a root and a path of backslash-separated names relative to it
// ("Software\\Palvex\\Quenlar"); a leading or trailing backslash is allowed and ignored.
// Key and value names match without regard to ASCII letter case; a value keeps the name
// it was created with. Value names enumerate in a stable order of the backend's own
// (Windows and Wine do not agree on it; callers never rely on one).
//
// Names and texts are in the system code page, as the 8-bit calls see them, except in
// the calls marked Utf8: there value names and the texts of the string kinds are UTF-8,
// so a name the code page cannot hold keeps its identity (key paths stay in the code page).
//
// Every call stands alone: the backend opens what it needs and closes it again.
// Plain failures come back as a status. A backend may throw RegistryError for an
// unexpected failure (the in-memory backend does so when a fault asks it to); callers
// that must tell the two apart catch it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform {

// LocalMachine32 is the machine's 32-bit view, where a 32-bit program's keys under
// SOFTWARE land on 64-bit Windows (as SOFTWARE\\WOW6432Node in the 64-bit view); the
// other roots are the program's own view.
enum class RootKey { CurrentUser, LocalMachine, LocalMachine32 };

enum class ValueKind { String, ExpandString, MultiString, Binary, Dword, Qword };

// A typed value. `bytes` holds the data: the text without its terminator for the
// string kinds, raw bytes for Binary, little-endian bytes for Dword and Qword.
struct RegistryValue {
  ValueKind kind = ValueKind::String;
  std::string bytes;

  static RegistryValue Text(std::string text, ValueKind kind = ValueKind::String);
  static RegistryValue Dword(std::uint32_t value);
  bool IsText() const { return kind == ValueKind::String || kind == ValueKind::ExpandString; }
  // The DWORD's value; only meaningful when kind is Dword and bytes has four bytes.
  std::uint32_t AsDword() const;
};

// One value of a key as the Utf8 calls give it.
struct NamedValue {
  std::string name;
  RegistryValue value;
};

enum class RegStatus {
  Ok,
  NotFound,      // the key or value does not exist
  AccessDenied,  // the key exists but cannot be opened with the access asked for
  Failed,        // any other plain failure
};

enum class KeyAccess { Read, Full };

struct RegistryError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class Registry {
 public:
  virtual ~Registry() = default;

  // Opens the key with the access asked for; with `create`, first makes it and any
  // missing parents. Ok means that later calls on this key with that access can work.
  virtual RegStatus OpenKey(RootKey root, const std::string& path, KeyAccess access,
                            bool create) = 0;
  virtual bool KeyExists(RootKey root, const std::string& path) = 0;
  // All value names of the key, in enumeration order.
  virtual RegStatus ValueNames(RootKey root, const std::string& path,
                               std::vector<std::string>& names) = 0;
  virtual RegStatus ReadValue(RootKey root, const std::string& path, const std::string& name,
                              RegistryValue& value) = 0;
  // Creates or replaces the value; the key must exist.
  virtual RegStatus WriteValue(RootKey root, const std::string& path, const std::string& name,
                               const RegistryValue& value) = 0;
  virtual RegStatus DeleteValue(RootKey root, const std::string& path, const std::string& name) = 0;
  // Removes the key with every key and value below it.
  virtual RegStatus DeleteKey(RootKey root, const std::string& path) = 0;

  // Every value of the key with its data, in enumeration order, in one pass.
  virtual RegStatus ReadValuesUtf8(RootKey root, const std::string& path,
                                   std::vector<NamedValue>& values) = 0;
  virtual RegStatus ReadValueUtf8(RootKey root, const std::string& path, const std::string& name,
                                  RegistryValue& value) = 0;
  virtual RegStatus WriteValueUtf8(RootKey root, const std::string& path, const std::string& name,
                                   const RegistryValue& value) = 0;
  // The code-page form of a UTF-8 text, as the 8-bit calls would give it. False when
  // some character has no exact form there; `text` then holds the lossy form.
  virtual bool ToCodePage(const std::string& utf8, std::string& text) = 0;
  // Whether LocalMachine32 is a view of its own; where it is not, it names the same keys
  // as LocalMachine.
  virtual bool HasSeparate32BitView() = 0;
  // The reverse: code-page text as UTF-8.
  virtual std::string FromCodePage(const std::string& text) = 0;
};

}  // namespace platform
