#include "core/registry_layer.h"

#include <utility>

using platform::KeyAccess;
using platform::RegistryValue;
using platform::RegStatus;
using platform::ValueKind;

RegistryLayer::RegistryLayer(platform::Registry& registry) : registry_(registry) {}

void RegistryLayer::SelectRoot(platform::RootKey root) {
  root_ = root;
  openKey_.reset();
}

bool RegistryLayer::OpenKey(const std::string& path, bool canCreate, KeyAccess access) {
  // Forget the previous key first: after a failed open, nothing must land in it.
  openKey_.reset();
  if (registry_.OpenKey(root_, path, access, canCreate) != RegStatus::Ok) return false;
  openKey_ = path;
  return true;
}

bool RegistryLayer::KeyExists(const std::string& path) { return registry_.KeyExists(root_, path); }

std::vector<std::string> RegistryLayer::ValueNames() {
  std::vector<std::string> names;
  if (!openKey_) return names;
  if (registry_.ValueNames(root_, *openKey_, names) != RegStatus::Ok) names.clear();
  return names;
}

namespace {

std::optional<std::string> TextOf(RegStatus status, RegistryValue& value) {
  if (status == RegStatus::NotFound) return std::string();
  if (status != RegStatus::Ok || !value.IsText()) return std::nullopt;
  return std::move(value.bytes);
}

}  // namespace

std::optional<std::string> RegistryLayer::ReadText(const std::string& name) {
  if (!openKey_) return std::nullopt;
  RegistryValue value;
  return TextOf(registry_.ReadValue(root_, *openKey_, name, value), value);
}

std::optional<std::string> RegistryLayer::ReadTextUtf8(const std::string& name) {
  if (!openKey_) return std::nullopt;
  RegistryValue value;
  return TextOf(registry_.ReadValueUtf8(root_, *openKey_, name, value), value);
}

std::vector<platform::NamedValue> RegistryLayer::Values() {
  std::vector<platform::NamedValue> values;
  if (!openKey_) return values;
  if (registry_.ReadValuesUtf8(root_, *openKey_, values) != RegStatus::Ok) values.clear();
  return values;
}

bool RegistryLayer::WriteTextUtf8(const std::string& name, const std::string& text) {
  return openKey_ && registry_.WriteValueUtf8(root_, *openKey_, name, RegistryValue::Text(text)) ==
                         RegStatus::Ok;
}

bool RegistryLayer::ToCodePage(const std::string& utf8, std::string& text) {
  return registry_.ToCodePage(utf8, text);
}

std::optional<std::uint32_t> RegistryLayer::ReadDword(const std::string& name) {
  if (!openKey_) return std::nullopt;
  RegistryValue value;
  if (registry_.ReadValue(root_, *openKey_, name, value) != RegStatus::Ok) return std::nullopt;
  if (value.kind != ValueKind::Dword || value.bytes.size() != 4) return std::nullopt;
  return value.AsDword();
}

std::optional<std::int32_t> RegistryLayer::ReadInteger(const std::string& name) {
  const auto dword = ReadDword(name);
  if (!dword) return std::nullopt;
  return static_cast<std::int32_t>(*dword);
}

std::optional<bool> RegistryLayer::ReadBool(const std::string& name) {
  const auto dword = ReadDword(name);
  if (!dword) return std::nullopt;
  return *dword != 0;
}

bool RegistryLayer::Write(const std::string& name, const RegistryValue& value) {
  return openKey_ && registry_.WriteValue(root_, *openKey_, name, value) == RegStatus::Ok;
}

bool RegistryLayer::WriteText(const std::string& name, const std::string& text) {
  return Write(name, RegistryValue::Text(text));
}

bool RegistryLayer::WriteInteger(const std::string& name, std::int32_t value) {
  return Write(name, RegistryValue::Dword(static_cast<std::uint32_t>(value)));
}

bool RegistryLayer::WriteBool(const std::string& name, bool value) {
  return Write(name, RegistryValue::Dword(value ? 1 : 0));
}

bool RegistryLayer::DeleteValue(const std::string& name) {
  return openKey_ && registry_.DeleteValue(root_, *openKey_, name) == RegStatus::Ok;
}

bool RegistryLayer::DeleteKey(const std::string& path) {
  return registry_.DeleteKey(root_, path) == RegStatus::Ok;
}
