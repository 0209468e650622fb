#include "scan/executable_watch.h"

#include <string>

#include "core/file_checksum.h"
#include "core/registry_layer.h"
#include "core/sealing.h"
#include "core/settings_layout.h"
#include "scan/game_paths.h"

void CheckExecutable(platform::Services& services, EventLog& log, Findings& findings,
                     bool accepting) {
  TFileChecksum checksum(services.files, services.cursor);
  checksum.FileName = GamePath(services);
  // Sealing is deterministic on one machine, so the sealed texts compare the numbers.
  const std::string sealed = SealText(services.volume, std::to_string(checksum.Checksum()));

  RegistryLayer layer(services.registry);
  if (layer.KeyExists(settings::ChecksumKey)) {
    std::string stored;
    if (layer.OpenKey(settings::ChecksumKey, false))
      stored = layer.ReadText(settings::ChecksumValue.name).value_or(std::string());
    if (stored != sealed) {
      log.Append("Executable: Warning - Checksum changed!");
      log.TurnRed();
      findings.ExecutableChanged = true;
    } else {
      log.Append("Executable: Checksum OK");
    }
    return;
  }

  if (!accepting && !findings.FirstRun) {
    log.Append("Executable: Checksum not found in registry!");
    log.TurnRed();
  }
  if (findings.FirstRun) log.Append("Setup complete! Close and restart the utility!");
  if (layer.OpenKey(settings::ChecksumKey, true))
    layer.WriteText(settings::ChecksumValue.name, sealed);
}
