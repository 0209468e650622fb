// The check that the game's auto-patcher still takes its patches from the official site.
#pragma once

#include "forms/event_log.h"
#include "platform/services.h"

// Reads ftp.ini in the game directory and logs whether one of its lines names the
// official patch site. A file that cannot be read counts as modified.
void CheckPatcherConfig(platform::Services& services, EventLog& log);

// True when `line`, with only A to Z lowered, is exactly "site=" and the official site.
bool IsOfficialSiteLine(const std::string& line);
