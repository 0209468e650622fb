#include "platform/memory/windows_path.h"

namespace platform {

static bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::optional<WindowsPath> ResolveWindowsPath(const std::string& path,
                                              const WindowsPath& workingDirectory) {
  if (path.empty() || workingDirectory.empty()) return std::nullopt;
  std::size_t pos = 0;
  WindowsPath result;
  bool hasDrive = path.size() >= 2 && path[1] == ':';
  if (hasDrive) {
    char letter = path[0];
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'Z') return std::nullopt;
    pos = 2;
    std::string drive = std::string(1, letter) + ":";
    bool rooted = pos < path.size() && IsSeparator(path[pos]);
    // "D:name" is relative to the working directory only when that is on drive D.
    if (!rooted && drive == workingDirectory.front())
      result = workingDirectory;
    else
      result = {drive};
  } else if (IsSeparator(path[0])) {
    if (path.size() >= 2 && IsSeparator(path[1])) return std::nullopt;  // UNC
    result = {workingDirectory.front()};
  } else {
    result = workingDirectory;
  }

  while (pos < path.size()) {
    while (pos < path.size() && IsSeparator(path[pos])) ++pos;
    std::size_t end = pos;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    std::string part = path.substr(pos, end - pos);
    pos = end;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (result.size() > 1) result.pop_back();
      continue;
    }
    result.push_back(std::move(part));
  }
  if (result.size() > 1 && IsSeparator(path.back())) return std::nullopt;
  return result;
}

std::string JoinWindowsPath(const WindowsPath& path) {
  if (path.empty()) return {};
  std::string out = path.front();
  if (path.size() == 1) return out + "\\";
  for (std::size_t i = 1; i < path.size(); ++i) out += "\\" + path[i];
  return out;
}

}  // namespace platform
