// The Startup folders: what Windows starts at logon from the current user's Startup
// folder and from the one of all users.
//
// Names and paths are UTF-8, so an item the code page cannot name keeps its identity.
// A folder that is missing or cannot be listed holds nothing; the service never fails
// otherwise.
#pragma once

#include <string>
#include <vector>

namespace platform {

enum class StartupFolder { User, Common };

struct StartupItem {
  std::string name;  // the file's name within the folder
  // What starts: for a shortcut the path it points to ("" when it cannot be read), for
  // anything else the item's own full path.
  std::string target;
};

class StartupFolders {
 public:
  virtual ~StartupFolders() = default;
  // Every file of the folder in the order the folder lists them; subfolders and the
  // folder's own "desktop.ini" are left out, since nothing starts from them.
  virtual std::vector<StartupItem> Items(StartupFolder folder) = 0;
};

}  // namespace platform
