#include "ui/main_settings.h"

#include <exception>
#include <optional>
#include <string>

#include "core/absorb.h"
#include "core/registry_layer.h"
#include "core/sealing.h"
#include "core/settings_layout.h"

namespace {

// One guard per value: whatever goes wrong with this read yields the default.
template <typename T, typename Read>
T ReadOr(T fallback, Read read) {
  return Absorb<std::exception>(fallback, [&] { return read().value_or(fallback); });
}

std::string LoadSlot(platform::Services& services, RegistryLayer& registry, int slot) {
  return Absorb<std::exception>(std::string(), [&] {
    const auto sealed = registry.ReadText(settings::MessageValueName(slot));
    if (!sealed || sealed->empty()) return std::string();
    return UnsealText(services.volume, *sealed);
  });
}

// A slot that cannot be written is blanked rather than left with stale text; the
// next slot is tried whatever happens.
void SaveSlot(platform::Services& services, RegistryLayer& registry, int slot,
              const std::string& text) {
  const std::string name = settings::MessageValueName(slot);
  const bool written = Absorb<std::exception>(false, [&] {
    return registry.WriteText(name, text.empty() ? std::string() : SealText(services.volume, text));
  });
  if (!written) Absorb<std::exception>([&] { registry.WriteText(name, std::string()); });
}

}  // namespace

void LoadMainSettings(platform::Services& services, MainWindowState& state, MenuMarks& marks,
                      UtilityLock& lock) {
  RegistryLayer registry(services.registry);
  // No key open: every read below fails and takes its default.
  Absorb<std::exception>([&] { registry.OpenKey(settings::AccessKey, true); });
  using settings::Acc, settings::Messaging, settings::Online, settings::Stealth, settings::Validate,
      settings::Warning;
  lock.PasswordEnabled =
      ReadOr(Validate.defaultValue, [&] { return registry.ReadInteger(Validate.name); });
  state.SelectedAccount = ReadOr(Acc.defaultValue, [&] { return registry.ReadInteger(Acc.name); });
  marks.stealth = ReadOr(Stealth.defaultValue, [&] { return registry.ReadBool(Stealth.name); });
  marks.messaging =
      ReadOr(Messaging.defaultValue, [&] { return registry.ReadBool(Messaging.name); });
  marks.online = ReadOr(Online.defaultValue, [&] { return registry.ReadBool(Online.name); });
  marks.warning = ReadOr(Warning.defaultValue, [&] { return registry.ReadBool(Warning.name); });
  state.messages.MessageTarget = ReadOr(std::string(settings::MessageTarget.defaultValue), [&] {
    return registry.ReadText(settings::MessageTarget.name);
  });
  for (int slot = 0; slot < settings::MessageSlotCount; ++slot)
    state.messages.MessageSlots[slot] = LoadSlot(services, registry, slot);
}

void SaveMainSettings(platform::Services& services, const MainWindowState& state,
                      const MenuMarks& marks) {
  RegistryLayer registry(services.registry);
  const bool saved = Absorb<std::exception>(false, [&] {
    return registry.OpenKey(settings::AccessKey, true) &&
           registry.WriteInteger(settings::Acc.name, state.SelectedAccount) &&
           registry.WriteBool(settings::Stealth.name, marks.stealth) &&
           registry.WriteBool(settings::Online.name, marks.online) &&
           registry.WriteBool(settings::Warning.name, marks.warning) &&
           registry.WriteText(settings::MessageTarget.name, state.messages.MessageTarget) &&
           registry.WriteBool(settings::Messaging.name, marks.messaging);
  });
  if (!saved) return;
  for (int slot = 0; slot < settings::MessageSlotCount; ++slot)
    SaveSlot(services, registry, slot, state.messages.MessageSlots[slot]);
}
