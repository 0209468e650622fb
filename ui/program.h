// The program entry, portable: the backend's main function builds the services and
// calls this.
#pragma once

#include "platform/services.h"

// Takes the application title "Quenlar", creates the main window (its settings are
// loaded), shows it and runs the message loop until the application ends, then
// destroys the window (its settings are written back). Returns the exit code.
int RunQuenlar(platform::Services& services);
