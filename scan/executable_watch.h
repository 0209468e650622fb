// The watch over the game executable: its 16-bit checksum against a sealed stored one.
#pragma once

#include "platform/services.h"
#include "scan/event_log.h"
#include "scan/findings.h"

// In red when the game executable cannot be read: its sum is then unknown, never "OK".
inline constexpr const char* UnreadableExecutableLine =
    "Executable: Warning - Cannot read the game executable!";

// Compares the executable's checksum with the stored one, or stores it when there is
// none (reporting the gap unless `accepting` or on the first run). An executable that
// cannot be read is reported and leaves the stored checksum as it is.
void CheckExecutable(platform::Services& services, EventLog& log, Findings& findings,
                     bool accepting);
