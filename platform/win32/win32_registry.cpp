#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <optional>
#include <utility>

namespace platform::win32 {
namespace {

HKEY RootHandle(RootKey root) {
  return root == RootKey::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

RegStatus StatusOf(LSTATUS error) {
  switch (error) {
    case ERROR_SUCCESS: return RegStatus::Ok;
    case ERROR_FILE_NOT_FOUND: return RegStatus::NotFound;
    case ERROR_ACCESS_DENIED: return RegStatus::AccessDenied;
    default: return RegStatus::Failed;
  }
}

// A name with an embedded NUL would silently name something shorter; refuse it.
bool HasNul(const std::string& text) { return text.find('\0') != std::string::npos; }

std::optional<std::string> SubKeyPath(const std::string& path) {
  if (HasNul(path)) return std::nullopt;
  std::size_t first = path.find_first_not_of('\\');
  if (first == std::string::npos) return std::string();
  std::size_t last = path.find_last_not_of('\\');
  return path.substr(first, last - first + 1);
}

bool IsStringKind(ValueKind kind) {
  return kind == ValueKind::String || kind == ValueKind::ExpandString ||
         kind == ValueKind::MultiString;
}

DWORD TypeOf(ValueKind kind) {
  switch (kind) {
    case ValueKind::String: return REG_SZ;
    case ValueKind::ExpandString: return REG_EXPAND_SZ;
    case ValueKind::MultiString: return REG_MULTI_SZ;
    case ValueKind::Binary: return REG_BINARY;
    case ValueKind::Dword: return REG_DWORD;
    case ValueKind::Qword: return REG_QWORD;
  }
  return REG_BINARY;
}

ValueKind KindOf(DWORD type) {
  switch (type) {
    case REG_SZ: return ValueKind::String;
    case REG_EXPAND_SZ: return ValueKind::ExpandString;
    case REG_MULTI_SZ: return ValueKind::MultiString;
    case REG_DWORD: return ValueKind::Dword;
    case REG_QWORD: return ValueKind::Qword;
    default: return ValueKind::Binary;
  }
}

// An open key, closed when it goes out of scope.
class Key {
 public:
  Key() = default;
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  ~Key() {
    if (handle_) RegCloseKey(handle_);
  }
  HKEY get() const { return handle_; }
  HKEY* out() { return &handle_; }

 private:
  HKEY handle_ = nullptr;
};

RegStatus Open(RootKey root, const std::string& path, REGSAM sam, Key& key) {
  std::optional<std::string> sub = SubKeyPath(path);
  if (!sub) return RegStatus::Failed;
  return StatusOf(RegOpenKeyExA(RootHandle(root), sub->c_str(), 0, sam, key.out()));
}

}  // namespace

RegStatus Win32Registry::OpenKey(RootKey root, const std::string& path, KeyAccess access,
                                 bool create) {
  REGSAM sam = access == KeyAccess::Full ? KEY_ALL_ACCESS : KEY_READ;
  if (!create) {
    Key key;
    return Open(root, path, sam, key);
  }
  std::optional<std::string> sub = SubKeyPath(path);
  if (!sub) return RegStatus::Failed;
  Key key;
  return StatusOf(RegCreateKeyExA(RootHandle(root), sub->c_str(), 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, sam, nullptr, key.out(), nullptr));
}

bool Win32Registry::KeyExists(RootKey root, const std::string& path) {
  Key key;
  RegStatus status = Open(root, path, KEY_READ, key);
  // A key we may not read still exists.
  return status == RegStatus::Ok || status == RegStatus::AccessDenied;
}

RegStatus Win32Registry::ValueNames(RootKey root, const std::string& path,
                                    std::vector<std::string>& names) {
  Key key;
  RegStatus status = Open(root, path, KEY_QUERY_VALUE, key);
  if (status != RegStatus::Ok) return status;

  DWORD longest = 0;
  LSTATUS info = RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr,
                                  nullptr, nullptr, &longest, nullptr, nullptr, nullptr);
  if (info != ERROR_SUCCESS) return StatusOf(info);

  std::vector<std::string> found;
  std::string buffer(static_cast<std::size_t>(longest) + 1, '\0');
  for (DWORD index = 0;;) {
    DWORD length = static_cast<DWORD>(buffer.size());
    LSTATUS error = RegEnumValueA(key.get(), index, buffer.data(), &length, nullptr, nullptr,
                                  nullptr, nullptr);
    if (error == ERROR_NO_MORE_ITEMS) break;
    if (error == ERROR_MORE_DATA) {
      // A longer name was added since the size was asked for.
      if (buffer.size() >= 32768) return RegStatus::Failed;
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (error != ERROR_SUCCESS) return StatusOf(error);
    found.emplace_back(buffer.data(), length);
    ++index;
  }
  names = std::move(found);
  return RegStatus::Ok;
}

RegStatus Win32Registry::ReadValue(RootKey root, const std::string& path,
                                   const std::string& name, RegistryValue& value) {
  if (HasNul(name)) return RegStatus::Failed;
  Key key;
  RegStatus status = Open(root, path, KEY_QUERY_VALUE, key);
  if (status != RegStatus::Ok) return status;

  DWORD type = REG_NONE;
  DWORD size = 0;
  LSTATUS error = RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size);
  std::string data;
  // The value may grow between asking its size and reading it: ask again.
  for (int attempt = 0; error == ERROR_SUCCESS || error == ERROR_MORE_DATA; ++attempt) {
    if (error == ERROR_MORE_DATA && attempt > 8) return RegStatus::Failed;
    data.resize(size);
    DWORD got = size;
    error = RegQueryValueExA(key.get(), name.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(data.data()), &got);
    if (error == ERROR_SUCCESS) {
      data.resize(got);
      break;
    }
    size = got;
  }
  if (error != ERROR_SUCCESS) return StatusOf(error);

  ValueKind kind = KindOf(type);
  if (IsStringKind(kind) && !data.empty() && data.back() == '\0') data.pop_back();
  value = RegistryValue{kind, std::move(data)};
  return RegStatus::Ok;
}

RegStatus Win32Registry::WriteValue(RootKey root, const std::string& path,
                                    const std::string& name, const RegistryValue& value) {
  if (HasNul(name)) return RegStatus::Failed;
  std::string data = value.bytes;
  if (IsStringKind(value.kind)) data.push_back('\0');
  if (data.size() > MAXDWORD) return RegStatus::Failed;

  Key key;
  RegStatus status = Open(root, path, KEY_SET_VALUE, key);
  if (status != RegStatus::Ok) return status;
  return StatusOf(RegSetValueExA(key.get(), name.c_str(), 0, TypeOf(value.kind),
                                 reinterpret_cast<const BYTE*>(data.data()),
                                 static_cast<DWORD>(data.size())));
}

RegStatus Win32Registry::DeleteValue(RootKey root, const std::string& path,
                                     const std::string& name) {
  if (HasNul(name)) return RegStatus::Failed;
  Key key;
  RegStatus status = Open(root, path, KEY_SET_VALUE, key);
  if (status != RegStatus::Ok) return status;
  return StatusOf(RegDeleteValueA(key.get(), name.c_str()));
}

RegStatus Win32Registry::DeleteKey(RootKey root, const std::string& path) {
  std::optional<std::string> sub = SubKeyPath(path);
  // An empty path names the root itself; wiping a whole hive is never meant.
  if (!sub || sub->empty()) return RegStatus::Failed;
  return StatusOf(RegDeleteTreeA(RootHandle(root), sub->c_str()));
}

}  // namespace platform::win32
