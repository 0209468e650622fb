#include "scan/library_check.h"

#include <string>

#include "core/stored_text.h"
#include "scan/game_paths.h"

namespace {

constexpr const char* WatchedLibraries[] = {
    "kernel32.dll", "user32.dll", "advapi32.dll", "oleaut32.dll",
    "gdi32.dll",    "ole32.dll",  "comctl32.dll", "wsock32.dll",
};

}  // namespace

void CheckPlantedLibraries(platform::Services& services, EventLog& log) {
  const std::string directory = GameDirectory(GamePath(services));
  bool found = false;
  for (const char* name : WatchedLibraries) {
    // Any entry counts, a directory too: the name alone is what the loader would take.
    if (!services.files.FindFirst(directory + name)) continue;
    found = true;
    log.TurnRed();
    log.Append(std::string("Tesk Engine: Found ") + name + " inside " +
               ShownForm(services.registry, directory));
  }
  if (!found) log.Append("Tesk Engine: Checks Complete");
}
