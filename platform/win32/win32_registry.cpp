#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <cstring>
#include <optional>
#include <utility>

#include "platform/unicode.h"
#include "platform/win32/win32_wide.h"

namespace platform::win32 {
namespace {

HKEY RootHandle(RootKey root) {
  return root == RootKey::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// The view flag every access to the root carries.
REGSAM ViewOf(RootKey root) { return root == RootKey::LocalMachine32 ? KEY_WOW64_32KEY : 0; }

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
  return StatusOf(RegOpenKeyExA(RootHandle(root), sub->c_str(), 0, sam | ViewOf(root), key.out()));
}

// ---- the wide calls

// Paths stay code-page text at the seam, also for the wide calls.
std::optional<std::wstring> WidePath(const std::string& path) {
  std::optional<std::string> sub = SubKeyPath(path);
  if (!sub) return std::nullopt;
  if (sub->empty()) return std::wstring();
  const int size = static_cast<int>(sub->size());
  const int length = MultiByteToWideChar(CP_ACP, 0, sub->data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, sub->data(), size, wide.data(), length);
  return wide;
}

RegStatus OpenWide(RootKey root, const std::string& path, REGSAM sam, Key& key) {
  std::optional<std::wstring> sub = WidePath(path);
  if (!sub) return RegStatus::Failed;
  return StatusOf(RegOpenKeyExW(RootHandle(root), sub->c_str(), 0, sam | ViewOf(root), key.out()));
}

// The string kinds' UTF-16 becomes UTF-8 without its terminator; other kinds keep
// their bytes.
RegistryValue ValueFromWide(DWORD type, const BYTE* data, std::size_t size) {
  const ValueKind kind = KindOf(type);
  if (!IsStringKind(kind))
    return RegistryValue{kind, std::string(reinterpret_cast<const char*>(data), size)};
  std::wstring text(size / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), data, text.size() * sizeof(wchar_t));
  if (!text.empty() && text.back() == L'\0') text.pop_back();
  return RegistryValue{kind, Utf8FromWide(text.data(), text.size())};
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
                                  REG_OPTION_NON_VOLATILE, sam | ViewOf(root), nullptr, key.out(),
                                  nullptr));
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
  LSTATUS info = RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                  nullptr, &longest, nullptr, nullptr, nullptr);
  if (info != ERROR_SUCCESS) return StatusOf(info);

  std::vector<std::string> found;
  std::string buffer(static_cast<std::size_t>(longest) + 1, '\0');
  for (DWORD index = 0;;) {
    DWORD length = static_cast<DWORD>(buffer.size());
    LSTATUS error =
        RegEnumValueA(key.get(), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
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

RegStatus Win32Registry::ReadValue(RootKey root, const std::string& path, const std::string& name,
                                   RegistryValue& value) {
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

RegStatus Win32Registry::WriteValue(RootKey root, const std::string& path, const std::string& name,
                                    const RegistryValue& value) {
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
  if (root != RootKey::LocalMachine32)
    return StatusOf(RegDeleteTreeA(RootHandle(root), sub->c_str()));
  // RegDeleteTree has no view flag: empty the key through a handle in the view, then
  // remove it there.
  Key key;
  RegStatus status =
      Open(root, path, DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE, key);
  if (status != RegStatus::Ok) return status;
  if (LSTATUS error = RegDeleteTreeA(key.get(), nullptr); error != ERROR_SUCCESS)
    return StatusOf(error);
  return StatusOf(RegDeleteKeyExA(HKEY_LOCAL_MACHINE, sub->c_str(), KEY_WOW64_32KEY, 0));
}

RegStatus Win32Registry::ReadValuesUtf8(RootKey root, const std::string& path,
                                        std::vector<NamedValue>& values) {
  Key key;
  RegStatus status = OpenWide(root, path, KEY_QUERY_VALUE, key);
  if (status != RegStatus::Ok) return status;

  std::wstring name;
  std::vector<BYTE> data;
  // Sized from the key's own figures; a value that grew meanwhile asks for them again.
  auto sizeBuffers = [&]() -> RegStatus {
    DWORD longestName = 0, longestData = 0;
    LSTATUS info = RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                    nullptr, &longestName, &longestData, nullptr, nullptr);
    if (info != ERROR_SUCCESS) return StatusOf(info);
    name.assign(static_cast<std::size_t>(longestName) + 1, L'\0');
    data.assign(static_cast<std::size_t>(longestData) + sizeof(wchar_t), 0);
    return RegStatus::Ok;
  };
  if ((status = sizeBuffers()) != RegStatus::Ok) return status;

  std::vector<NamedValue> found;
  int retries = 0;
  for (DWORD index = 0;;) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD type = REG_NONE;
    DWORD size = static_cast<DWORD>(data.size());
    LSTATUS error = RegEnumValueW(key.get(), index, name.data(), &nameLength, nullptr, &type,
                                  data.data(), &size);
    if (error == ERROR_NO_MORE_ITEMS) break;
    if (error == ERROR_MORE_DATA) {
      if (++retries > 8) return RegStatus::Failed;
      if ((status = sizeBuffers()) != RegStatus::Ok) return status;
      continue;
    }
    if (error != ERROR_SUCCESS) return StatusOf(error);
    found.push_back(
        {Utf8FromWide(name.data(), nameLength), ValueFromWide(type, data.data(), size)});
    ++index;
  }
  values = std::move(found);
  return RegStatus::Ok;
}

RegStatus Win32Registry::ReadValueUtf8(RootKey root, const std::string& path,
                                       const std::string& name, RegistryValue& value) {
  if (HasNul(name)) return RegStatus::Failed;
  Key key;
  RegStatus status = OpenWide(root, path, KEY_QUERY_VALUE, key);
  if (status != RegStatus::Ok) return status;

  const std::wstring wideName = WideFromUtf8(name);
  DWORD type = REG_NONE;
  DWORD size = 0;
  LSTATUS error = RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &type, nullptr, &size);
  std::vector<BYTE> data;
  for (int attempt = 0; error == ERROR_SUCCESS || error == ERROR_MORE_DATA; ++attempt) {
    if (error == ERROR_MORE_DATA && attempt > 8) return RegStatus::Failed;
    data.resize(size);
    DWORD got = size;
    error = RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &type, data.data(), &got);
    if (error == ERROR_SUCCESS) {
      data.resize(got);
      break;
    }
    size = got;
  }
  if (error != ERROR_SUCCESS) return StatusOf(error);
  value = ValueFromWide(type, data.data(), data.size());
  return RegStatus::Ok;
}

RegStatus Win32Registry::WriteValueUtf8(RootKey root, const std::string& path,
                                        const std::string& name, const RegistryValue& value) {
  if (HasNul(name)) return RegStatus::Failed;
  std::string data = value.bytes;
  if (IsStringKind(value.kind)) {
    std::wstring text = WideFromUtf8(value.bytes);
    text.push_back(L'\0');
    data.assign(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
  }
  if (data.size() > MAXDWORD) return RegStatus::Failed;

  Key key;
  RegStatus status = OpenWide(root, path, KEY_SET_VALUE, key);
  if (status != RegStatus::Ok) return status;
  return StatusOf(RegSetValueExW(key.get(), WideFromUtf8(name).c_str(), 0, TypeOf(value.kind),
                                 reinterpret_cast<const BYTE*>(data.data()),
                                 static_cast<DWORD>(data.size())));
}

bool Win32Registry::HasSeparate32BitView() {
  // A 64-bit program always runs on a 64-bit system; a 32-bit one has a view of its own
  // only under WOW64.
  if (sizeof(void*) == 8) return true;
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

std::string Win32Registry::FromCodePage(const std::string& text) {
  if (text.empty()) return {};
  const int count = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), count, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), count, wide.data(), length);
  return Utf8FromWide(wide);
}

bool Win32Registry::ToCodePage(const std::string& utf8, std::string& text) {
  text.clear();
  const std::wstring wide = WideFromUtf8(utf8);
  if (wide.empty()) return true;
  const int count = static_cast<int>(wide.size());
  // No best fit: an "a" for an "ā" would pass for a text the code page holds.
  const bool utf8Page = GetACP() == CP_UTF8;
  const DWORD flags = utf8Page ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* used = utf8Page ? nullptr : &usedDefault;
  const int length =
      WideCharToMultiByte(CP_ACP, flags, wide.data(), count, nullptr, 0, nullptr, used);
  if (length <= 0) return false;
  text.assign(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, flags, wide.data(), count, text.data(), length, nullptr, used);
  if (usedDefault) return false;
  // Only a text that comes back unchanged is held by the code page.
  const int back = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  std::wstring again(static_cast<std::size_t>(back > 0 ? back : 0), L'\0');
  if (back > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), length, again.data(), back);
  return again == wide;
}

}  // namespace platform::win32
