// The log-in screen: login and password fields at the contract's points; Enter down and up
// in the password field submits and replaces the screen by the game window.
#pragma once

#include <windows.h>

#include "standin/client.h"

namespace standin {

bool RegisterLoginScreenClass(HINSTANCE instance);
HWND CreateLoginScreen(HINSTANCE instance, Client& client);

}  // namespace standin
