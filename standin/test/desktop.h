// What the poke driver does to another process's windows: find them by screen point, wait
// for them, move text through the clipboard, read the client's transcript.
#pragma once

#include <windows.h>

#include <string>

#include "game_client/contract.h"

namespace poke {

std::string ClassOf(HWND window);
DWORD ProcessOf(HWND window);
HWND WindowAt(game_client::ScreenPoint point);

// Polls (pumping this thread's messages) until the window at the point has the class and
// belongs to the process; nullptr after the timeout.
HWND WaitForClassAt(game_client::ScreenPoint point, const char* className, DWORD processId,
                    DWORD timeoutMs);

// Sleeps while handling this thread's messages: the clipboard owner must keep pumping or
// other processes stall on paste.
void PumpFor(DWORD ms);

// Puts text on the clipboard through an own hidden edit, the way the guardian does it.
class ClipboardEdit {
 public:
  ClipboardEdit();
  ~ClipboardEdit();
  void Put(const std::string& text);

 private:
  HWND edit_;
};

// The file's bytes from the offset on ("" when it cannot be read), and its size (0 if none).
std::string ReadFileFrom(const std::string& path, unsigned long long offset);
unsigned long long FileSize(const std::string& path);

}  // namespace poke
