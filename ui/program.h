// The program entry, portable: the backend's main function builds the services and
// calls this.
#pragma once

#include <string>

#include "platform/services.h"

// Takes the application title "Quenlar", creates the main window (its settings are
// loaded), shows it and runs the message loop until the application ends, then
// destroys the window (its settings are written back). Returns the exit code.
int RunQuenlar(platform::Services& services);

// The same with the command line after the program's name. The one switch is the
// uninstaller's "/uninstall-settings" (ui/installation.h), which removes the settings and
// the autostart entry without a window; anything else starts the program as usual.
int RunQuenlar(platform::Services& services, const std::string& commandLine);
