// The look-up for files planted in the game directory under system-library names,
// which the game would load instead of the system's own.
#pragma once

#include "forms/event_log.h"
#include "platform/services.h"

// Logs one warning per watched name found in the game directory, in a fixed order,
// or "Tesk Engine: Checks Complete" when none is there.
void CheckPlantedLibraries(platform::Services& services, EventLog& log);
