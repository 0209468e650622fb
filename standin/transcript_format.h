// Line format of the stand-in client's transcript, shared by the client (writing) and by
// the test drivers (reading). No Windows headers: plain C++.
//
// One event per line, fields separated by one blank:
//
//   <kind> <time> [<field> ...]
//
// <time> is local time, YYYY-MM-DDTHH:MM:SS.mmm. A field is either a bare word (no blank,
// no quote) or a quoted text: the bytes between double quotes, with
//   \\  \"  \n  \r  \t   for backslash, quote, line feed, carriage return, tab,
//   \xHH                 (exactly two lower-case hex digits) for any other byte outside
//                        0x20..0x7e,
// and every other byte as itself. Texts of any bytes therefore stay on one line.
//
// Kinds written by mir.exe (see standin/README.md):
//   start <t> pid <n>                 first line of every run
//   exe <t> "<path>"                  the client's own path
//   cmdline <t> "<text>"              the whole command line
//   server <t> "<text>"               the parameter (the game server address)
//   cwd <t> "<path>"                  the working directory
//   screen <t> login|game             which screen is now shown
//   set <t> <field> "<text>"          WM_SETTEXT, the text as received, into the field
//                                     login, password or chat, or the window
//                                     login-screen or game
//   login-submitted <t> login "<text>" password "<text>"
//   chat-open <t>                     Enter on the main window opened the entry line
//   paste <t> chat "<text>"           WM_PASTE into the entry line, its text afterwards
//   chat <t> "<text>"                 Enter on the entry line sent this line
//   chat-cancel <t>                   Escape closed the entry line unsent
//   exit <t> code <n>                 the client is ending
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace transcript {

// The quoted, escaped form of any bytes.
std::string Quote(std::string_view bytes);

struct Event {
  std::string kind;
  std::string time;
  std::vector<std::string> fields;  // words as they are, texts unescaped
};

// Parses one line (without its line end); nullopt for a line that is not well formed.
std::optional<Event> ParseLine(std::string_view line);

// All well-formed, complete (line-feed ended) lines of a transcript's text, in order.
std::vector<Event> ParseAll(std::string_view text);

}  // namespace transcript
