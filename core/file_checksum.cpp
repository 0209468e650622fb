#include "core/file_checksum.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// Files are read in blocks of this size; small files get a buffer of their own size.
constexpr std::size_t BlockSize = std::size_t{1} << 20;

std::uint64_t Load64(const unsigned char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

// XORs the four 16-bit lanes of a gathered word together and turns the result into a
// pair value with its first byte high.
std::uint16_t FoldLanes(std::uint64_t x) {
  x ^= x >> 32;
  x ^= x >> 16;
  auto lane = static_cast<std::uint16_t>(x);
  if constexpr (std::endian::native == std::endian::little)
    lane = static_cast<std::uint16_t>((lane >> 8) | (lane << 8));
  return lane;
}

std::uint16_t Pair(unsigned char high, unsigned char low) {
  return static_cast<std::uint16_t>((high << 8) | low);
}

// The hourglass for as long as the computation runs; the default cursor afterwards,
// also when it ends by an exception.
class BusyCursor {
 public:
  explicit BusyCursor(platform::Cursor& cursor) : cursor_(cursor) {
    cursor_.Set(platform::crHourGlass);
  }
  ~BusyCursor() { cursor_.Set(platform::crDefault); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  platform::Cursor& cursor_;
};

}  // namespace

void ChecksumAccumulator::Add(const unsigned char* bytes, std::size_t count) {
  if (count == 0) return;
  std::uint16_t sum = sum_;
  if (pending_) {
    sum ^= Pair(high_, bytes[0]);
    ++bytes;
    --count;
    pending_ = false;
  }
  // XOR is associative and commutative, so the pairs can be gathered eight bytes at a
  // time in independent words and folded once at the end. Each word starts on an even
  // offset, so its 16-bit lanes are whole pairs.
  std::uint64_t a0 = 0, a1 = 0, a2 = 0, a3 = 0;
  std::size_t i = 0;
  for (; i + 32 <= count; i += 32) {
    a0 ^= Load64(bytes + i);
    a1 ^= Load64(bytes + i + 8);
    a2 ^= Load64(bytes + i + 16);
    a3 ^= Load64(bytes + i + 24);
  }
  for (; i + 8 <= count; i += 8) a0 ^= Load64(bytes + i);
  sum ^= FoldLanes(a0 ^ a1 ^ a2 ^ a3);
  for (; i + 2 <= count; i += 2) sum ^= Pair(bytes[i], bytes[i + 1]);
  if (i < count) {
    pending_ = true;
    high_ = bytes[i];
  }
  sum_ = sum;
}

std::uint16_t ChecksumAccumulator::Value() const {
  // An odd last byte pairs with itself.
  return pending_ ? static_cast<std::uint16_t>(sum_ ^ Pair(high_, high_)) : sum_;
}

TFileChecksum::TFileChecksum(platform::Files& files, platform::Cursor& cursor)
    : files_(files), cursor_(cursor) {}

std::int32_t TFileChecksum::Checksum() { return TryChecksum().value_or(0); }

std::optional<std::uint16_t> TFileChecksum::TryChecksum(platform::Sha256* digest) {
  BusyCursor busy(cursor_);

  // One open, for reading, letting others read too. Asking for write access merely to
  // learn the size would fail on a read-only file and on a running game executable (the
  // system holds it open without write sharing), and refusing to share would fail
  // whenever anyone else reads it: all of those would sum to 0 and look like a change.
  std::unique_ptr<platform::File> file =
      files_.Open(FileName, platform::FileAccess::Read, platform::FileShare::Read);
  if (!file) return std::nullopt;

  const auto size = file->Size();
  if (!size) return std::nullopt;
  ChecksumAccumulator sum;
  std::uint64_t left = *size;
  std::vector<unsigned char> block(
      static_cast<std::size_t>(std::min<std::uint64_t>(left, BlockSize)));
  // An early end of file stops the loop; what was read is summed, an odd last byte
  // paired with itself as at the real end.
  while (left > 0) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(left, block.size()));
    const auto got = file->Read(block.data(), want);
    if (!got) return std::nullopt;
    if (*got == 0) break;
    const std::size_t used = std::min(*got, want);
    sum.Add(block.data(), used);
    if (digest) digest->Update(block.data(), used);
    left -= used;
  }
  file->Close();  // the sum is complete; a failing close changes nothing
  return sum.Value();
}
