// What the program relies on in the game client: its screen points, window classes,
// file names and the hosts it talks to. The stand-in client is built from the same
// header, so both sides agree by construction.
#pragma once

#include "platform/types.h"

namespace game_client {

// A point on the screen, as the desktop takes it.
using ScreenPoint = platform::Point;

inline constexpr ScreenPoint LoginPoint{400, 265};
inline constexpr ScreenPoint PasswordPoint{400, 300};
inline constexpr ScreenPoint GameWindowPoint{20, 20};
inline constexpr ScreenPoint ChatPoint{400, 585};

inline constexpr const char* FieldClass = "TEdit";
inline constexpr const char* GameWindowClass = "TDXDraw";

// Class names are fetched into a buffer of this many characters; texts set into
// the client's fields are at most this long.
inline constexpr int ClassNameCapacity = 144;
inline constexpr int FieldTextCapacity = 144;

// The key code of Enter, posted to open the chat line, send it and submit the login.
inline constexpr int EnterKey = 13;
// What the client needs between the steps of a chat post: after opening the line and
// after pasting.
inline constexpr int ChatStepPauseMs = 250;

inline constexpr const char* ExecutableName = "mir.exe";
inline constexpr const char* PatcherConfigName = "ftp.ini";

// The official patch host of the game, in lower case, as "site=" names it in ftp.ini.
inline constexpr const char* OfficialPatchSite = "patch.quenlar-game.example";

// The game server, passed to the client as its only command-line parameter.
inline constexpr const char* GameServerAddress = "192.0.2.16";

}  // namespace game_client
