// The watch over the game executable: its 16-bit checksum and its SHA-256 fingerprint
// against sealed stored ones.
#pragma once

#include "forms/event_log.h"
#include "platform/services.h"
#include "scan/findings.h"

// In red when the game executable cannot be read: its sum is then unknown, never "OK".
inline constexpr const char* UnreadableExecutableLine =
    "Executable: Warning - Cannot read the game executable!";

// Compares the executable's checksum and fingerprint with the stored ones (a change of
// either is a changed executable), or stores both when no checksum is stored (reporting
// the gap unless `accepting` or on the first run). A checksum stored without a
// fingerprint gains one silently while it matches. An executable that cannot be read is
// reported and leaves the stored values as they are.
void CheckExecutable(platform::Services& services, EventLog& log, Findings& findings,
                     bool accepting);
