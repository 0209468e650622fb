#include "platform/memory/memory_machine.h"

namespace platform {

Services MemoryMachine::services() {
  return Services{registry_, files_, volume_,  cursor_, random_,         trace_,   toolkit_,
                  desktop_,  clock_, process_, shell_,  startupFolders_, digests_, protection_};
}

}  // namespace platform
