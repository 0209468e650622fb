#include "scan/executable_watch.h"

#include <cstdint>
#include <memory>
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

std::string HexOf(const platform::Sha256Digest& digest) {
  static const char Digits[] = "0123456789abcdef";
  std::string hex;
  for (std::uint8_t byte : digest) {
    hex += Digits[byte >> 4];
    hex += Digits[byte & 0x0f];
  }
  return hex;
}

// The stored fingerprint, or nothing when none is stored yet. A value that is not text,
// or cannot be read, matches no file, as a checksum in that state does not.
std::optional<std::string> StoredDigest(platform::Registry& registry) {
  platform::RegistryValue value;
  const platform::RegStatus status = registry.ReadValue(
      platform::RootKey::CurrentUser, settings::ChecksumKey, settings::DigestValue.name, value);
  if (status == platform::RegStatus::NotFound) return std::nullopt;
  if (status != platform::RegStatus::Ok || !value.IsText()) return std::string();
  return value.bytes;
}

}  // namespace

void CheckExecutable(platform::Services& services, EventLog& log, Findings& findings,
                     bool accepting) {
  TFileChecksum checksum(services.files, services.cursor);
  checksum.FileName = GamePath(services);
  // Where the system offers no SHA-256 the checksum is watched alone, and a stored
  // fingerprint is kept for a system that has one.
  const std::unique_ptr<platform::Sha256> sha256 = services.digests.NewSha256();
  const std::optional<std::uint16_t> sum = checksum.TryChecksum(sha256.get());
  // Sealing is deterministic on one machine, so the sealed texts compare the values.
  const std::string sealed = sum ? SealText(services.volume, std::to_string(*sum)) : std::string();
  const std::optional<std::string> digest =
      sum && sha256 ? std::optional(SealText(services.volume, HexOf(sha256->Finish())))
                    : std::nullopt;

  RegistryLayer layer(services.registry);
  if (layer.KeyExists(settings::ChecksumKey)) {
    // An unreadable file says nothing about the stored values, which stay as they are.
    if (!sum) return ReportUnreadable(log);
    std::string stored;
    std::optional<std::string> storedDigest;
    if (layer.OpenKey(settings::ChecksumKey, false)) {
      stored = layer.ReadText(settings::ChecksumValue.name).value_or(std::string());
      storedDigest = StoredDigest(services.registry);
    }
    // A patch can keep the 16-bit checksum; it cannot keep the fingerprint.
    if (stored != sealed || (digest && storedDigest && *storedDigest != *digest)) {
      log.Append("Executable: Warning - Checksum changed!");
      log.TurnRed();
      findings.ExecutableChanged = true;
    } else {
      log.Append("Executable: Checksum OK");
      // A checksum stored before fingerprints were: the file it still matches gives the
      // fingerprint, without a word. A file that no longer matches gives none.
      if (digest && !storedDigest) layer.WriteText(settings::DigestValue.name, *digest);
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
  if (layer.OpenKey(settings::ChecksumKey, true)) {
    layer.WriteText(settings::ChecksumValue.name, sealed);
    if (digest) layer.WriteText(settings::DigestValue.name, *digest);
  }
}
