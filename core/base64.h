// Base64 with the RFC 4648 alphabet and "=" padding, never with line breaks.
//
// Decoding reads whole groups of four characters and ignores 1 to 3 left over. A
// group yields one byte when its third character is "=", two when only its fourth
// is, three otherwise, and decoding goes on with the next group after a padded one.
// Characters outside the alphabet count as 0, and so does "=" wherever it stands in
// the arithmetic: malformed text decodes to something, never to an error.
#pragma once

#include <cstddef>
#include <string>

// 4 * ceil(n / 3): the characters that n bytes encode to.
std::size_t Base64EncodedLength(std::size_t bytes);
// The most bytes `chars` characters can decode to: 3 per whole group.
std::size_t Base64DecodedMaxLength(std::size_t chars);

// Writes Base64EncodedLength(count) characters to `out` and returns that number.
std::size_t Base64Encode(const void* in, char* out, std::size_t count);
// Decodes `count` characters into `out`, which must hold Base64DecodedMaxLength(count)
// bytes, and returns the number of bytes produced.
std::size_t Base64Decode(const char* in, void* out, std::size_t count);

std::string Base64EncodeStr(const std::string& bytes);
std::string Base64DecodeStr(const std::string& text);
