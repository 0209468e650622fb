#include "scan/executable_watch.h"

#include <cstdint>
#include <optional>
#include <string>

#include "core/file_checksum.h"
#include "core/registry_layer.h"
#include "core/sealing.h"
#include "core/settings_layout.h"
#include "scan/game_paths.h"

namespace {

void ReportUnreadable(EventLog& log) {
  log.Append(UnreadableExecutableLine);
  log.TurnRed();
}

}  // namespace

void CheckExecutable(platform::Services& services, EventLog& log, Findings& findings,
                     bool accepting) {
  TFileChecksum checksum(services.files, services.cursor);
  checksum.FileName = GamePath(services);
  const std::optional<std::uint16_t> sum = checksum.TryChecksum();
  // Sealing is deterministic on one machine, so the sealed texts compare the numbers.
  const std::string sealed = sum ? SealText(services.volume, std::to_string(*sum)) : std::string();

  RegistryLayer layer(services.registry);
  if (layer.KeyExists(settings::ChecksumKey)) {
    // An unreadable file says nothing about the stored sum, which stays as it is.
    if (!sum) return ReportUnreadable(log);
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
  // The sum of a file that could not be read would match any later unreadable file:
  // nothing is stored, and the next start stores the sum of the file it can read.
  if (!sum) return ReportUnreadable(log);
  if (layer.OpenKey(settings::ChecksumKey, true))
    layer.WriteText(settings::ChecksumValue.name, sealed);
}
