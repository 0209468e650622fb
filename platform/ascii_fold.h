// ASCII letter-case folding: how names compare where Windows ignores the case of ASCII
// letters only (registry and file names in memory, file endings, configuration lines).
#pragma once

#include <string>
#include <string_view>

namespace platform {

inline char FoldAsciiChar(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string FoldAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = FoldAsciiChar(c);
  return out;
}

inline bool EqualsFolded(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldAsciiChar(a[i]) != FoldAsciiChar(b[i])) return false;
  return true;
}

}  // namespace platform
