// The watch over the autostart entries of the current user and of the machine: a
// sealed snapshot of every entry, compared at each start, and the first-time set-up
// that runs when no snapshot exists yet.
#pragma once

#include "scan/checks.h"

// Writes the scope's snapshot when it is missing. Without `accepting` and before the
// set-up has run, it first asks whether this is the first run: Yes runs the set-up
// (own autostart entry, game executable), No reports the missing snapshot.
void SnapshotAutostart(ScanContext& context, AutostartScope scope, bool accepting);

// Compares the scope's entries with its snapshot and logs what differs, or the scope's
// completion line when nothing does.
void CompareAutostart(ScanContext& context, AutostartScope scope);

// The box for an unexpected registry failure: "Error opening registry!", and a red log.
void ReportRegistryError(ScanContext& context);
