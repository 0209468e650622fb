// The game's main window, class "TDXDraw": Enter opens the chat entry line at the chat
// point, Enter there sends the line, which the window then lists.
#pragma once

#include <windows.h>

#include "standin/client.h"

namespace standin {

bool RegisterGameWindowClass(HINSTANCE instance);
HWND CreateGameWindow(HINSTANCE instance, Client& client);

}  // namespace standin
