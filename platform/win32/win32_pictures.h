// The pictures the toolkit draws itself, by name: no bitmaps ship with the program.
#pragma once

#include <windows.h>

#include <string>

namespace platform::win32 {

// A picture name is read by its words: "help" draws a rounded "Help" button, "key" or
// "password" a key; "down" draws it pressed and "over" or "hover" lit. Any other name
// is drawn as a framed box with the name in it.
void DrawPicture(HDC dc, const RECT& area, const std::string& name);

// The size a picture has of its own.
SIZE PictureSize(const std::string& name);

}  // namespace platform::win32
