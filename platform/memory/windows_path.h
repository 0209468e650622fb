// Windows path resolution for the in-memory file system: drive letters, backslashes
// (forward slashes too), paths relative to a working directory or to the current
// drive's root, and "." and ".." components.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

// A full path as its components: the drive ("C:") first, then one name per level.
using WindowsPath = std::vector<std::string>;

// Resolves `path` against the absolute `workingDirectory`. nullopt for a path that
// names nothing resolvable: empty, UNC ("\\\\server\\share"), a bad drive, or a
// trailing separator after a name ("C:\\dir\\"); the bare root "C:\\" resolves to {"C:"}.
std::optional<WindowsPath> ResolveWindowsPath(const std::string& path,
                                              const WindowsPath& workingDirectory);

// "C:\\Games\\Mir"; a bare drive gives "C:\\".
std::string JoinWindowsPath(const WindowsPath& path);

}  // namespace platform
