// The registry in memory: one key tree per root, key and value names compared without
// regard to ASCII letter case, typed values, and values enumerated in the order they
// were first written (replacing a value keeps its place). The simulated code page is
// ISO 8859-1: the 8-bit calls and the test helpers see a value name or text beyond
// U+00FF with "?" in its place, as Windows shows what its code page cannot hold.
//
// Paths follow the contract of platform/registry.h; an empty path names the root key
// itself, and an empty name between two backslashes makes the path invalid (Failed).
//
// Test helpers (HasKey, Value, SetValue, ...) neither count as calls for fault
// injection nor appear in the journal.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/memory/fault_injector.h"
#include "platform/registry.h"
#include "platform/unicode.h"

namespace platform {

class MemoryRegistry : public Registry {
 public:
  MemoryRegistry();
  ~MemoryRegistry() override;
  MemoryRegistry(const MemoryRegistry&) = delete;
  MemoryRegistry& operator=(const MemoryRegistry&) = delete;

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
  bool HasSeparate32BitView() override { return true; }
  std::string FromCodePage(const std::string& text) override { return Utf8FromLatin1(text); }

  // Faults and the journal of the calls above.
  FaultInjector& faults() { return faults_; }

  // The key and everything below it can be opened for reading but not with full
  // access: opening it with KeyAccess::Full, creating keys in it, writing or deleting
  // values and deleting keys there give AccessDenied. The key need not exist yet.
  void DenyFullAccess(RootKey root, const std::string& path);
  void AllowFullAccess(RootKey root, const std::string& path);

  // Test helpers. Those taking a path throw std::invalid_argument for an invalid one.
  bool HasKey(RootKey root, const std::string& path) const;
  std::optional<RegistryValue> Value(RootKey root, const std::string& path,
                                     const std::string& name) const;
  // The value's text when it exists and is of a string kind.
  std::optional<std::string> Text(RootKey root, const std::string& path,
                                  const std::string& name) const;
  // Creates the key and its parents as needed, then creates or replaces the value.
  void SetValue(RootKey root, const std::string& path, const std::string& name,
                RegistryValue value);
  void CreateKey(RootKey root, const std::string& path);
  // Names as spelt when created, in enumeration order; empty when the key is missing.
  std::vector<std::string> ValueNamesOf(RootKey root, const std::string& path) const;
  std::vector<std::string> SubkeyNames(RootKey root, const std::string& path) const;

 private:
  struct Node;
  using Path = std::vector<std::string>;

  static std::optional<Path> Split(const std::string& path);
  static Path SplitOrThrow(const std::string& path);
  static std::pair<RootKey, Path> Viewed(RootKey root, Path path);
  Node& Root(RootKey root) const;
  Node* Find(RootKey root, const Path& path) const;
  Node& Make(RootKey root, const Path& path);
  bool Denied(RootKey root, const Path& path) const;
  bool SubtreeDenied(RootKey root, const Path& path) const;
  // Reads and writes in the stored form (UTF-8 names and texts).
  RegStatus Read(RootKey root, const std::string& path, const std::string& name,
                 RegistryValue& value);
  RegStatus Write(RootKey root, const std::string& path, const std::string& name,
                  const RegistryValue& value);
  // Journals the call and applies an armed fault; true when the call must fail.
  bool Faulted(const char* operation, const std::string& path, const std::string& name = {});

  std::unique_ptr<Node> current_user_;
  std::unique_ptr<Node> local_machine_;
  std::vector<std::pair<RootKey, Path>> denied_;  // folded paths
  FaultInjector faults_;
};

}  // namespace platform
