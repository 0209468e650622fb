#include "platform/unicode.h"

#include <cstdint>

namespace platform {
namespace {

constexpr char32_t Replacement = 0xFFFD;

void Encode(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The code point starting at `pos`, which moves past it. Surrogates encoded on their
// own are accepted, since Utf8FromUtf16 writes them.
char32_t Decode(std::string_view text, std::size_t& pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  std::size_t length = 0;
  char32_t c = 0;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, c = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, c = lead & 0x07;
  } else {
    ++pos;
    return Replacement;
  }
  if (pos + length > text.size()) {
    ++pos;
    return Replacement;
  }
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) {
      ++pos;
      return Replacement;
    }
    c = (c << 6) | (byte(pos + i) & 0x3F);
  }
  // Overlong forms and values past U+10FFFF are no UTF-8.
  static constexpr char32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < Smallest[length] || c > 0x10FFFF) {
    ++pos;
    return Replacement;
  }
  pos += length;
  return c;
}

}  // namespace

std::string Utf8FromUtf16(std::u16string_view units) {
  std::string out;
  out.reserve(units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    char32_t c = units[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
      ++i;
    }
    Encode(c, out);
  }
  return out;
}

std::u16string Utf16FromUtf8(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const char32_t c = Decode(text, pos);
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

std::string Utf8FromLatin1(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char b : bytes) Encode(static_cast<unsigned char>(b), out);
  return out;
}

bool Latin1FromUtf8(std::string_view text, std::string& bytes) {
  bytes.clear();
  bool exact = true;
  for (std::size_t pos = 0; pos < text.size();) {
    const char32_t c = Decode(text, pos);
    if (c > 0xFF) {
      bytes += '?';
      exact = false;
    } else {
      bytes += static_cast<char>(c);
    }
  }
  return exact;
}

}  // namespace platform
