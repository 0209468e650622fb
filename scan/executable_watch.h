// The watch over the game executable: its 16-bit checksum against a sealed stored one.
#pragma once

#include "platform/services.h"
#include "scan/event_log.h"
#include "scan/findings.h"

// Compares the executable's checksum with the stored one, or stores it when there is
// none (reporting the gap unless `accepting` or on the first run).
void CheckExecutable(platform::Services& services, EventLog& log, Findings& findings,
                     bool accepting);
