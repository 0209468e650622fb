// UTF-8 texts of the seam for the wide calls of Windows, and back.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>

#include "platform/unicode.h"

namespace platform::win32 {

inline std::wstring WideFromUtf8(const std::string& text) {
  const std::u16string units = Utf16FromUtf8(text);
  return std::wstring(units.begin(), units.end());
}

inline std::string Utf8FromWide(const wchar_t* units, std::size_t count) {
  std::u16string copy(count, u'\0');
  if (count > 0) std::memcpy(copy.data(), units, count * sizeof(wchar_t));
  return Utf8FromUtf16(copy);
}

inline std::string Utf8FromWide(const std::wstring& text) {
  return Utf8FromWide(text.data(), text.size());
}

}  // namespace platform::win32
