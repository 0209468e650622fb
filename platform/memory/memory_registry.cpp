#include "platform/memory/memory_registry.h"

#include <algorithm>
#include <stdexcept>

#include "platform/ascii_fold.h"
#include "platform/unicode.h"

namespace platform {

namespace {

// Value names and the texts of the string kinds are kept in UTF-8; the 8-bit calls see
// them in the simulated code page (ISO 8859-1), with "?" for what it cannot hold.
bool IsTextKind(ValueKind kind) {
  return kind == ValueKind::String || kind == ValueKind::ExpandString ||
         kind == ValueKind::MultiString;
}

std::string Narrow(const std::string& utf8) {
  std::string bytes;
  Latin1FromUtf8(utf8, bytes);
  return bytes;
}

RegistryValue Stored(RegistryValue value) {
  if (IsTextKind(value.kind)) value.bytes = Utf8FromLatin1(value.bytes);
  return value;
}

RegistryValue Narrowed(RegistryValue value) {
  if (IsTextKind(value.kind)) value.bytes = Narrow(value.bytes);
  return value;
}

}  // namespace

struct MemoryRegistry::Node {
  std::string name;
  std::vector<std::pair<std::string, RegistryValue>> values;
  std::vector<std::unique_ptr<Node>> children;

  Node* Child(const std::string& childName) const {
    for (const auto& c : children)
      if (EqualsFolded(c->name, childName)) return c.get();
    return nullptr;
  }
  RegistryValue* FindValue(const std::string& valueName) {
    for (auto& [n, v] : values)
      if (EqualsFolded(n, valueName)) return &v;
    return nullptr;
  }
};

MemoryRegistry::MemoryRegistry()
    : current_user_(std::make_unique<Node>()), local_machine_(std::make_unique<Node>()) {}

MemoryRegistry::~MemoryRegistry() = default;

std::optional<MemoryRegistry::Path> MemoryRegistry::Split(const std::string& path) {
  std::string_view rest(path);
  if (!rest.empty() && rest.front() == '\\') rest.remove_prefix(1);
  if (!rest.empty() && rest.back() == '\\') rest.remove_suffix(1);
  Path parts;
  if (rest.empty()) return parts;
  std::size_t start = 0;
  while (true) {
    std::size_t end = rest.find('\\', start);
    std::string_view part = rest.substr(start, end == std::string_view::npos ? end : end - start);
    if (part.empty()) return std::nullopt;
    parts.emplace_back(part);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return parts;
}

MemoryRegistry::Path MemoryRegistry::SplitOrThrow(const std::string& path) {
  auto parts = Split(path);
  if (!parts) throw std::invalid_argument("MemoryRegistry: invalid key path \"" + path + "\"");
  return *parts;
}

MemoryRegistry::Node& MemoryRegistry::Root(RootKey root) const {
  return root == RootKey::CurrentUser ? *current_user_ : *local_machine_;
}

// The 32-bit view of the machine is redirected as on 64-bit Windows: its SOFTWARE is the
// 64-bit view's SOFTWARE\WOW6432Node.
std::pair<RootKey, MemoryRegistry::Path> MemoryRegistry::Viewed(RootKey root, Path path) {
  if (root != RootKey::LocalMachine32) return {root, std::move(path)};
  if (!path.empty() && EqualsFolded(path[0], "SOFTWARE") &&
      !(path.size() > 1 && EqualsFolded(path[1], "WOW6432Node")))
    path.insert(path.begin() + 1, "WOW6432Node");
  return {RootKey::LocalMachine, std::move(path)};
}

MemoryRegistry::Node* MemoryRegistry::Find(RootKey root, const Path& viewPath) const {
  const auto [keyRoot, path] = Viewed(root, viewPath);
  Node* node = &Root(keyRoot);
  for (const std::string& part : path) {
    node = node->Child(part);
    if (!node) return nullptr;
  }
  return node;
}

MemoryRegistry::Node& MemoryRegistry::Make(RootKey root, const Path& viewPath) {
  const auto [keyRoot, path] = Viewed(root, viewPath);
  Node* node = &Root(keyRoot);
  for (const std::string& part : path) {
    Node* child = node->Child(part);
    if (!child) {
      node->children.push_back(std::make_unique<Node>());
      child = node->children.back().get();
      child->name = part;
    }
    node = child;
  }
  return *node;
}

static bool IsPrefixFolded(const std::vector<std::string>& prefix,
                           const std::vector<std::string>& path) {
  if (prefix.size() > path.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (!EqualsFolded(prefix[i], path[i])) return false;
  return true;
}

bool MemoryRegistry::Denied(RootKey viewRoot, const Path& viewPath) const {
  const auto [root, path] = Viewed(viewRoot, viewPath);
  for (const auto& [r, p] : denied_)
    if (r == root && IsPrefixFolded(p, path)) return true;
  return false;
}

bool MemoryRegistry::SubtreeDenied(RootKey viewRoot, const Path& viewPath) const {
  const auto [root, path] = Viewed(viewRoot, viewPath);
  for (const auto& [r, p] : denied_)
    if (r == root && (IsPrefixFolded(p, path) || IsPrefixFolded(path, p))) return true;
  return false;
}

bool MemoryRegistry::Faulted(const char* operation, const std::string& path,
                             const std::string& name) {
  auto fault = faults_.OnCall(operation, path, name);
  if (!fault) return false;
  if (*fault == FaultKind::Throw)
    throw RegistryError(std::string("injected registry fault in ") + operation + " \"" + path +
                        "\"");
  return true;
}

RegStatus MemoryRegistry::OpenKey(RootKey root, const std::string& path, KeyAccess access,
                                  bool create) {
  if (Faulted("OpenKey", path)) return RegStatus::Failed;
  auto parts = Split(path);
  if (!parts) return RegStatus::Failed;
  bool denied = Denied(root, *parts);
  if (Find(root, *parts)) {
    return access == KeyAccess::Full && denied ? RegStatus::AccessDenied : RegStatus::Ok;
  }
  if (!create) return RegStatus::NotFound;
  if (denied) return RegStatus::AccessDenied;
  Make(root, *parts);
  return RegStatus::Ok;
}

bool MemoryRegistry::KeyExists(RootKey root, const std::string& path) {
  if (Faulted("KeyExists", path)) return false;
  auto parts = Split(path);
  return parts && Find(root, *parts) != nullptr;
}

RegStatus MemoryRegistry::ValueNames(RootKey root, const std::string& path,
                                     std::vector<std::string>& names) {
  if (Faulted("ValueNames", path)) return RegStatus::Failed;
  auto parts = Split(path);
  if (!parts) return RegStatus::Failed;
  Node* node = Find(root, *parts);
  if (!node) return RegStatus::NotFound;
  names.clear();
  for (const auto& [n, v] : node->values) names.push_back(Narrow(n));
  return RegStatus::Ok;
}

RegStatus MemoryRegistry::ReadValue(RootKey root, const std::string& path, const std::string& name,
                                    RegistryValue& value) {
  if (Faulted("ReadValue", path, name)) return RegStatus::Failed;
  const RegStatus status = Read(root, path, Utf8FromLatin1(name), value);
  if (status == RegStatus::Ok) value = Narrowed(std::move(value));
  return status;
}

RegStatus MemoryRegistry::ReadValueUtf8(RootKey root, const std::string& path,
                                        const std::string& name, RegistryValue& value) {
  if (Faulted("ReadValueUtf8", path, name)) return RegStatus::Failed;
  return Read(root, path, name, value);
}

RegStatus MemoryRegistry::Read(RootKey root, const std::string& path, const std::string& name,
                               RegistryValue& value) {
  auto parts = Split(path);
  if (!parts) return RegStatus::Failed;
  Node* node = Find(root, *parts);
  if (!node) return RegStatus::NotFound;
  RegistryValue* found = node->FindValue(name);
  if (!found) return RegStatus::NotFound;
  value = *found;
  return RegStatus::Ok;
}

RegStatus MemoryRegistry::ReadValuesUtf8(RootKey root, const std::string& path,
                                         std::vector<NamedValue>& values) {
  if (Faulted("ReadValuesUtf8", path)) return RegStatus::Failed;
  auto parts = Split(path);
  if (!parts) return RegStatus::Failed;
  Node* node = Find(root, *parts);
  if (!node) return RegStatus::NotFound;
  values.clear();
  for (const auto& [n, v] : node->values) values.push_back({n, v});
  return RegStatus::Ok;
}

RegStatus MemoryRegistry::WriteValue(RootKey root, const std::string& path, const std::string& name,
                                     const RegistryValue& value) {
  if (Faulted("WriteValue", path, name)) return RegStatus::Failed;
  return Write(root, path, Utf8FromLatin1(name), Stored(value));
}

RegStatus MemoryRegistry::WriteValueUtf8(RootKey root, const std::string& path,
                                         const std::string& name, const RegistryValue& value) {
  if (Faulted("WriteValueUtf8", path, name)) return RegStatus::Failed;
  return Write(root, path, name, value);
}

bool MemoryRegistry::ToCodePage(const std::string& utf8, std::string& text) {
  return Latin1FromUtf8(utf8, text);
}

RegStatus MemoryRegistry::Write(RootKey root, const std::string& path, const std::string& name,
                                const RegistryValue& value) {
  auto parts = Split(path);
  if (!parts) return RegStatus::Failed;
  Node* node = Find(root, *parts);
  if (!node) return RegStatus::NotFound;
  if (Denied(root, *parts)) return RegStatus::AccessDenied;
  if (RegistryValue* found = node->FindValue(name))
    *found = value;
  else
    node->values.emplace_back(name, value);
  return RegStatus::Ok;
}

RegStatus MemoryRegistry::DeleteValue(RootKey root, const std::string& path,
                                      const std::string& name) {
  if (Faulted("DeleteValue", path, name)) return RegStatus::Failed;
  auto parts = Split(path);
  if (!parts) return RegStatus::Failed;
  Node* node = Find(root, *parts);
  if (!node) return RegStatus::NotFound;
  if (Denied(root, *parts)) return RegStatus::AccessDenied;
  const std::string stored = Utf8FromLatin1(name);
  auto it = std::find_if(node->values.begin(), node->values.end(),
                         [&](const auto& nv) { return EqualsFolded(nv.first, stored); });
  if (it == node->values.end()) return RegStatus::NotFound;
  node->values.erase(it);
  return RegStatus::Ok;
}

RegStatus MemoryRegistry::DeleteKey(RootKey root, const std::string& path) {
  if (Faulted("DeleteKey", path)) return RegStatus::Failed;
  auto parts = Split(path);
  // The root keys themselves cannot be deleted.
  if (!parts || parts->empty()) return RegStatus::Failed;
  Path parentPath(parts->begin(), parts->end() - 1);
  Node* parent = Find(root, parentPath);
  Node* node = parent ? parent->Child(parts->back()) : nullptr;
  if (!node) return RegStatus::NotFound;
  // All or nothing: a denied key anywhere in the subtree keeps the whole subtree.
  if (SubtreeDenied(root, *parts)) return RegStatus::AccessDenied;
  auto& siblings = parent->children;
  siblings.erase(std::find_if(siblings.begin(), siblings.end(),
                              [&](const auto& c) { return c.get() == node; }));
  return RegStatus::Ok;
}

void MemoryRegistry::DenyFullAccess(RootKey root, const std::string& path) {
  denied_.push_back(Viewed(root, SplitOrThrow(path)));
}

void MemoryRegistry::AllowFullAccess(RootKey root, const std::string& path) {
  const auto viewed = Viewed(root, SplitOrThrow(path));
  std::erase_if(denied_, [&](const auto& rp) {
    return rp.first == viewed.first && rp.second.size() == viewed.second.size() &&
           IsPrefixFolded(rp.second, viewed.second);
  });
}

bool MemoryRegistry::HasKey(RootKey root, const std::string& path) const {
  return Find(root, SplitOrThrow(path)) != nullptr;
}

std::optional<RegistryValue> MemoryRegistry::Value(RootKey root, const std::string& path,
                                                   const std::string& name) const {
  Node* node = Find(root, SplitOrThrow(path));
  if (!node) return std::nullopt;
  RegistryValue* found = node->FindValue(Utf8FromLatin1(name));
  if (!found) return std::nullopt;
  return Narrowed(*found);
}

std::optional<std::string> MemoryRegistry::Text(RootKey root, const std::string& path,
                                                const std::string& name) const {
  auto value = Value(root, path, name);
  if (!value || !value->IsText()) return std::nullopt;
  return value->bytes;
}

void MemoryRegistry::SetValue(RootKey root, const std::string& path, const std::string& name,
                              RegistryValue value) {
  Node& node = Make(root, SplitOrThrow(path));
  const std::string stored = Utf8FromLatin1(name);
  if (RegistryValue* found = node.FindValue(stored))
    *found = Stored(std::move(value));
  else
    node.values.emplace_back(stored, Stored(std::move(value)));
}

void MemoryRegistry::CreateKey(RootKey root, const std::string& path) {
  Make(root, SplitOrThrow(path));
}

std::vector<std::string> MemoryRegistry::ValueNamesOf(RootKey root, const std::string& path) const {
  std::vector<std::string> names;
  if (Node* node = Find(root, SplitOrThrow(path)))
    for (const auto& [n, v] : node->values) names.push_back(Narrow(n));
  return names;
}

std::vector<std::string> MemoryRegistry::SubkeyNames(RootKey root, const std::string& path) const {
  std::vector<std::string> names;
  if (Node* node = Find(root, SplitOrThrow(path)))
    for (const auto& c : node->children) names.push_back(c->name);
  return names;
}

}  // namespace platform
