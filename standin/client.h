// What the stand-in client's windows share: the transcript and the session so far.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "standin/transcript.h"

namespace standin {

// Control ids of the fields; they name the field in the transcript.
enum FieldId { LoginFieldId = 101, PasswordFieldId = 102, ChatFieldId = 103 };

struct Client {
  explicit Client(std::string transcriptPath) : transcript(std::move(transcriptPath)) {}

  Transcript transcript;
  std::string server;                  // the command-line parameter
  std::string login;                   // as submitted on the login screen
  bool loggedIn = false;               // the game window has replaced the login screen
  std::vector<std::string> chatLines;  // sent, oldest first
};

// Records a text set into a window: "set <t> <name> "<text>"".
void RecordTextSet(Client& client, const char* name, const char* text, bool urgent);

// The screen-covering windows: a borderless popup from (0, 0), 800 x 600 pixels, so that the
// contract's screen points fall inside whatever the desktop's frame metrics are.
inline constexpr RECT ScreenArea{0, 0, 800, 600};

// A rectangle of a field centred on a screen point.
RECT FieldRectAround(int x, int y, int width, int height);

}  // namespace standin
