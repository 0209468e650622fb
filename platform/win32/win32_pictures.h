// The pictures the toolkit draws itself, by name: no bitmaps ship with the program.
#pragma once

#include <windows.h>

#include <string>

namespace platform::win32 {

// A picture name is read by its words: "help" draws a rounded "Help" button, "key" or
// "password" a key, "shield" a shield with a keyhole; "down" draws it pressed and "over" or "hover"
// lit. Any other name is drawn as a framed box with the name in it.
void DrawPicture(HDC dc, const RECT& area, const std::string& name);

// One frame of the busy clip: a radar screen whose beam turns once in `frames` frames,
// on the given background.
void DrawBusyFrame(HDC dc, const RECT& area, int frame, int frames, COLORREF background);

// The size a picture has of its own.
SIZE PictureSize(const std::string& name);

}  // namespace platform::win32
