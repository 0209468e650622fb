#include "platform/memory/memory_machine.h"

namespace platform {

Services MemoryMachine::services() {
  return Services{registry_, files_, volume_, cursor_, random_};
}

}  // namespace platform
