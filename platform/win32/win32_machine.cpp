#include "platform/win32/win32_machine.h"

namespace platform::win32 {

Services Win32Machine::services() {
  return Services{registry_, files_, volume_,  cursor_, random_,         trace_,   toolkit_,
                  desktop_,  clock_, process_, shell_,  startupFolders_, digests_, protection_};
}

}  // namespace platform::win32
