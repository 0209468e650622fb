#include "core/stored_text.h"

#include "platform/unicode.h"

namespace {

bool IsAscii(const std::string& text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

bool IsUtf8(const std::string& text) {
  return platform::Utf8FromUtf16(platform::Utf16FromUtf8(text)) == text;
}

}  // namespace

std::string StoredForm(platform::Registry& registry, const std::string& utf8) {
  std::string text;
  return registry.ToCodePage(utf8, text) ? text : utf8;
}

std::string Utf8OfStored(platform::Registry& registry, const std::string& stored) {
  if (IsAscii(stored)) return stored;
  std::string text;
  if (IsUtf8(stored) && !registry.ToCodePage(stored, text)) return stored;
  return registry.FromCodePage(stored);
}

std::string ShownForm(platform::Registry& registry, const std::string& utf8) {
  std::string text;
  registry.ToCodePage(utf8, text);
  return text;
}
