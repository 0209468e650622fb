// Sealed text from a hand-edited store: any bytes must decode and unseal without a
// fault, within the bounds the decoder promises, and what comes out must seal back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "core/base64.h"
#include "core/sealing.h"

namespace {

class FixedVolume : public platform::Volume {
 public:
  std::optional<std::uint32_t> SystemSerial() override { return 0x43000000u; }
};

void Require(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  const std::string decoded = Base64DecodeStr(text);
  const std::size_t groups = size / 4;
  // Every whole group yields one to three bytes; left-over characters yield none.
  Require(decoded.size() >= groups && decoded.size() <= 3 * groups);
  Require(Base64DecodeStr(Base64EncodeStr(decoded)) == decoded);

  FixedVolume volume;
  const std::string plain = UnsealText(volume, text);
  Require(plain.size() == decoded.size());
  Require(UnsealText(volume, SealText(volume, plain)) == plain);
  return 0;
}
