// The title refresh: the name of the account in use in the main window's title and
// in the event log.
#pragma once

#include "forms/event_log.h"
#include "platform/services.h"
#include "platform/toolkit.h"

// Sets the caption "Quenlar - <name>" and appends "Account: <name>". A missing or
// unreadable name shows as nothing after the prefixes.
void RefreshWindowTitle(platform::Services& services, int selectedAccount, platform::Form& form,
                        EventLog& log);
