// Where the game lives, as every part of the program derives it from the stored
// executable path. Paths are UTF-8, as the file service takes them. The cuts are fixed
// numbers of characters ("mir.exe" is seven); the path itself is never parsed.
#pragma once

#include <string>

#include "platform/services.h"

// The unsealed "Path" of the product key in UTF-8 (it is kept in its stored form, see
// core/stored_text.h); empty when the key or the value is missing or unreadable. An unexpected
// registry error (platform::RegistryError) passes through.
std::string GamePath(platform::Services& services);

// The game path less its last seven characters: the game directory with its trailing
// backslash. Empty for a path of seven characters or fewer, so that look-ups fall to
// the working directory.
std::string GameDirectory(const std::string& gamePath);

// The game path less its last eight characters: the directory without its trailing
// backslash, which the game is started in. Empty for eight characters or fewer.
std::string GameWorkingDirectory(const std::string& gamePath);
