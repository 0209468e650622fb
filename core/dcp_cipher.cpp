#include "core/dcp_cipher.h"

#include <memory>
#include <vector>

#include "core/base64.h"
#include "core/secure_wipe.h"

namespace {

// The digest while it is key material: overwritten with 0xFF before it is freed,
// whichever way the keying ends.
class DigestBuffer {
 public:
  explicit DigestBuffer(std::size_t size) : bytes_(size) {}
  ~DigestBuffer() { SecureFill(bytes_.data(), bytes_.size(), 0xFF); }
  DigestBuffer(const DigestBuffer&) = delete;
  DigestBuffer& operator=(const DigestBuffer&) = delete;
  unsigned char* data() { return bytes_.data(); }

 private:
  std::vector<unsigned char> bytes_;
};

}  // namespace

void TDCP_cipher::SetKey(const void* /*key*/, std::size_t sizeBits) {
  if (keyed_) Wipe();
  if (sizeBits == 0 || sizeBits % 4 != 0 || sizeBits > MaxKeyBits())
    throw EDCP_cipher("Invalid key size");
  keyed_ = true;
}

void TDCP_cipher::Wipe() { keyed_ = false; }

void TDCP_cipher::CheckKeyed() const {
  if (!keyed_) throw EDCP_cipher("Cipher not initialized");
}

std::string TDCP_cipher::EncipherText(const std::string& text) {
  std::string out(text.size(), '\0');
  EncipherBytes(text.data(), out.data(), text.size());
  return Base64EncodeStr(out);
}

std::string TDCP_cipher::DecipherText(const std::string& text) {
  std::string bytes = Base64DecodeStr(text);
  DecipherBytes(bytes.data(), bytes.data(), bytes.size());
  return bytes;
}

void TDCP_cipher::SetKeyFromPassphrase(const std::string& passphrase,
                                       const TDCP_hashclass& hashClass) {
  if (keyed_) Wipe();
  try {
    const std::size_t digestBits = hashClass.digestBits;
    if (hashClass.create == nullptr || digestBits == 0) throw EDCP_cipher("no hash");
    DigestBuffer digest(digestBits / 8);
    {
      std::unique_ptr<TDCP_hash> hash = hashClass.create();
      // Finish writes the instance's digest size; it must fit the buffer.
      if (!hash || hash->DigestBits() != digestBits) throw EDCP_cipher("bad hash");
      hash->Start();
      hash->AddText(passphrase);
      hash->Finish(digest.data());
    }
    const std::size_t maxBits = MaxKeyBits();
    SetKey(digest.data(), maxBits < digestBits ? maxBits : digestBits);
  } catch (...) {
    if (keyed_) Wipe();
    throw EDCP_cipher("Unable to allocate sufficient memory for hash digest");
  }
}
