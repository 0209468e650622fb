// The Startup folders of the Wine prefix, which the program lists through the same calls.
#include <windows.h>
#include <shlobj.h>

#include "e2e/driver.h"

namespace e2e {

std::string StartupFolderPath(Hive hive) {
  char path[MAX_PATH] = {};
  const int which = hive == Hive::User ? CSIDL_STARTUP : CSIDL_COMMON_STARTUP;
  if (FAILED(
          SHGetFolderPathA(nullptr, which | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path)))
    throw DriverError("no Startup folder");
  return path;
}

}  // namespace e2e
