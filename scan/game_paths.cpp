#include "scan/game_paths.h"

#include "core/registry_layer.h"
#include "core/sealing.h"
#include "core/settings_layout.h"

namespace {

std::string WithoutLast(const std::string& text, std::size_t count) {
  return text.size() <= count ? std::string() : text.substr(0, text.size() - count);
}

}  // namespace

std::string GamePath(platform::Services& services) {
  RegistryLayer layer(services.registry);
  if (!layer.OpenKey(settings::Path.key, false)) return std::string();
  const auto sealed = layer.ReadText(settings::Path.name);
  if (!sealed) return std::string();
  return UnsealText(services.volume, *sealed);
}

std::string GameDirectory(const std::string& gamePath) { return WithoutLast(gamePath, 7); }

std::string GameWorkingDirectory(const std::string& gamePath) { return WithoutLast(gamePath, 8); }
