#include "core/base64.h"

#include <array>

namespace {

constexpr char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr unsigned char Pad = 0x40;

// Every byte has an entry, so no input can index outside the table.
constexpr std::array<unsigned char, 256> MakeDecodeTable() {
  std::array<unsigned char, 256> table{};  // outside the alphabet: 0
  for (unsigned char v = 0; v < 64; ++v) table[static_cast<unsigned char>(Alphabet[v])] = v;
  table[static_cast<unsigned char>('=')] = Pad;
  return table;
}

constexpr std::array<unsigned char, 256> Decode = MakeDecodeTable();

}  // namespace

std::size_t Base64EncodedLength(std::size_t bytes) { return 4 * ((bytes + 2) / 3); }

std::size_t Base64DecodedMaxLength(std::size_t chars) { return 3 * (chars / 4); }

std::size_t Base64Encode(const void* in, char* out, std::size_t count) {
  const unsigned char* p = static_cast<const unsigned char*>(in);
  std::size_t o = 0;
  std::size_t i = 0;
  for (; i + 3 <= count; i += 3) {
    const unsigned b0 = p[i], b1 = p[i + 1], b2 = p[i + 2];
    out[o++] = Alphabet[b0 >> 2];
    out[o++] = Alphabet[((b0 & 3) << 4) + (b1 >> 4)];
    out[o++] = Alphabet[((b1 & 15) << 2) + (b2 >> 6)];
    out[o++] = Alphabet[b2 & 63];
  }
  if (count - i == 1) {
    const unsigned b0 = p[i];
    out[o++] = Alphabet[b0 >> 2];
    out[o++] = Alphabet[(b0 & 3) << 4];
    out[o++] = '=';
    out[o++] = '=';
  } else if (count - i == 2) {
    const unsigned b0 = p[i], b1 = p[i + 1];
    out[o++] = Alphabet[b0 >> 2];
    out[o++] = Alphabet[((b0 & 3) << 4) + (b1 >> 4)];
    out[o++] = Alphabet[(b1 & 15) << 2];
    out[o++] = '=';
  }
  return o;
}

std::size_t Base64Decode(const char* in, void* out, std::size_t count) {
  unsigned char* dst = static_cast<unsigned char*>(out);
  std::size_t o = 0;
  for (std::size_t g = 0; g < count / 4; ++g) {
    unsigned char v[4];
    bool pad[4];
    for (int k = 0; k < 4; ++k) {
      const unsigned char code = Decode[static_cast<unsigned char>(in[4 * g + k])];
      pad[k] = code == Pad;
      v[k] = pad[k] ? 0 : code;
    }
    dst[o++] = static_cast<unsigned char>((v[0] << 2) | (v[1] >> 4));
    if (pad[2]) continue;
    dst[o++] = static_cast<unsigned char>((v[1] << 4) | (v[2] >> 2));
    if (pad[3]) continue;
    dst[o++] = static_cast<unsigned char>((v[2] << 6) | v[3]);
  }
  return o;
}

std::string Base64EncodeStr(const std::string& bytes) {
  std::string out(Base64EncodedLength(bytes.size()), '\0');
  Base64Encode(bytes.data(), out.data(), bytes.size());
  return out;
}

std::string Base64DecodeStr(const std::string& text) {
  std::string out(Base64DecodedMaxLength(text.size()), '\0');
  out.resize(Base64Decode(text.data(), out.data(), text.size()));
  return out;
}
