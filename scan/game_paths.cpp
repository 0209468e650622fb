#include "scan/game_paths.h"

#include "core/registry_layer.h"
#include "core/sealing.h"
#include "core/settings_layout.h"
#include "core/stored_text.h"

namespace {

// Counts characters, not bytes: a UTF-8 sequence is never cut in two.
std::string WithoutLast(const std::string& text, std::size_t count) {
  std::size_t end = text.size();
  while (count > 0 && end > 0) {
    --end;
    if ((static_cast<unsigned char>(text[end]) & 0xC0) != 0x80) --count;
  }
  return count > 0 ? std::string() : text.substr(0, end);
}

}  // namespace

std::string GamePath(platform::Services& services) {
  RegistryLayer layer(services.registry);
  if (!layer.OpenKey(settings::Path.key, false)) return std::string();
  const auto sealed = layer.ReadText(settings::Path.name);
  if (!sealed) return std::string();
  return Utf8OfStored(services.registry, UnsealText(services.volume, *sealed));
}

std::string GameDirectory(const std::string& gamePath) { return WithoutLast(gamePath, 7); }

std::string GameWorkingDirectory(const std::string& gamePath) { return WithoutLast(gamePath, 8); }
