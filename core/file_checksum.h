// A cheap 16-bit fingerprint of a file: the XOR of its bytes taken in big-endian
// pairs, an odd last byte paired with itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/digest.h"
#include "platform/files.h"
#include "platform/system.h"

// Folds bytes into a running checksum. Feed the file in blocks of any size; the
// odd byte of one block pairs with the first byte of the next.
class ChecksumAccumulator {
 public:
  void Add(const unsigned char* bytes, std::size_t count);
  // The checksum of everything added so far.
  std::uint16_t Value() const;

 private:
  std::uint16_t sum_ = 0;
  bool pending_ = false;
  unsigned char high_ = 0;
};

class TFileChecksum {
 public:
  TFileChecksum(platform::Files& files, platform::Cursor& cursor);

  std::string FileName;

  // The checksum of FileName (a UTF-8 path), 0 to 65535; 0 when the file cannot be read.
  std::int32_t Checksum();
  // The same, but nullopt when the file cannot be read: it cannot be opened, its size
  // cannot be told, or a read fails. A file shorter than its size ends the sum: the
  // bytes read so far are summed. The cursor is the hourglass while it runs and the
  // default cursor afterwards. Every byte summed is also fed to `digest`, if given, so
  // that one reading of the file serves both.
  std::optional<std::uint16_t> TryChecksum(platform::Sha256* digest = nullptr);

 private:
  platform::Files& files_;
  platform::Cursor& cursor_;
};
