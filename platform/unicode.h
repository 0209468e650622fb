// UTF-8 and UTF-16 for the registry's wide calls, and the code page the in-memory
// machine simulates.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// UTF-16 code units as UTF-8. An unpaired surrogate keeps a three-byte form of its
// own, so every name the system can hold comes back to the same units.
std::string Utf8FromUtf16(std::u16string_view units);
// The reverse; a byte that starts no valid sequence stands as U+FFFD.
std::u16string Utf16FromUtf8(std::string_view text);

// ISO 8859-1, the in-memory machine's code page: every byte is the character of the
// same number, so any byte string converts to UTF-8 and back unchanged.
std::string Utf8FromLatin1(std::string_view bytes);
// False when a character is beyond U+00FF; it then stands as "?".
bool Latin1FromUtf8(std::string_view text, std::string& bytes);

}  // namespace platform
