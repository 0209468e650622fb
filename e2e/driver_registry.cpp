// The current user's registry, shared with the program through the same wineserver, and
// the machine's, in its own view or in the 32-bit view where a 32-bit program's
// machine-wide entries land.
#include "e2e/driver.h"

namespace e2e {

namespace {

// A key path may start with a backslash, as the program writes them.
std::string Relative(const std::string& path) {
  size_t start = path.find_first_not_of('\\');
  return start == std::string::npos ? "" : path.substr(start);
}

class Key {
 public:
  Key(const std::string& path, REGSAM access, bool create, HKEY root = HKEY_CURRENT_USER) {
    std::string relative = Relative(path);
    LSTATUS status = create ? RegCreateKeyExA(root, relative.c_str(), 0, nullptr, 0, access,
                                              nullptr, &key_, nullptr)
                            : RegOpenKeyExA(root, relative.c_str(), 0, access, &key_);
    if (status != ERROR_SUCCESS) key_ = nullptr;
  }
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

HKEY RootOf(Hive hive) { return hive == Hive::User ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }
REGSAM ViewOf(Hive hive) { return hive == Hive::Machine32 ? KEY_WOW64_32KEY : 0; }

}  // namespace

bool KeyExists(const std::string& path) { return Key(path, KEY_READ, false).get() != nullptr; }

void DeleteKeyTree(const std::string& path) {
  LSTATUS status = RegDeleteTreeA(HKEY_CURRENT_USER, Relative(path).c_str());
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
    RegDeleteKeyA(HKEY_CURRENT_USER, Relative(path).c_str());  // the emptied key itself
    if (!KeyExists(path)) return;
  }
  throw DriverError("cannot delete the key " + path + " (error " + std::to_string(status) + ")");
}

void DeleteValue(const std::string& key, const std::string& name, Hive hive) {
  Key open(key, KEY_SET_VALUE | ViewOf(hive), false, RootOf(hive));
  if (!open.get()) return;
  LSTATUS status = RegDeleteValueA(open.get(), name.c_str());
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
    throw DriverError("cannot delete the value " + name + " of " + key);
}

std::optional<DWORD> ReadDword(const std::string& key, const std::string& name) {
  Key open(key, KEY_READ, false);
  if (!open.get()) return std::nullopt;
  DWORD type = 0, value = 0, size = sizeof value;
  if (RegQueryValueExA(open.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                       &size) != ERROR_SUCCESS ||
      type != REG_DWORD)
    return std::nullopt;
  return value;
}

std::optional<std::string> ReadString(const std::string& key, const std::string& name) {
  Key open(key, KEY_READ, false);
  if (!open.get()) return std::nullopt;
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(open.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_SZ)
    return std::nullopt;
  std::string value(size, '\0');
  if (RegQueryValueExA(open.get(), name.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(value.data()), &size) != ERROR_SUCCESS)
    return std::nullopt;
  value.resize(size);
  while (!value.empty() && value.back() == '\0') value.pop_back();
  return value;
}

void WriteString(const std::string& key, const std::string& name, const std::string& value,
                 Hive hive) {
  Key open(key, KEY_SET_VALUE | ViewOf(hive), true, RootOf(hive));
  if (!open.get() || RegSetValueExA(open.get(), name.c_str(), 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(value.c_str()),
                                    static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
    throw DriverError("cannot write the value " + name + " of " + key);
}

std::vector<std::string> ValueNames(const std::string& key) {
  std::vector<std::string> names;
  Key open(key, KEY_READ, false);
  if (!open.get()) return names;
  for (DWORD i = 0;; ++i) {
    char name[16384];
    DWORD length = sizeof name;
    if (RegEnumValueA(open.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    names.emplace_back(name, length);
  }
  return names;
}

}  // namespace e2e
