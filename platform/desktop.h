// The desktop: windows of any process found by screen point, the messages the program
// sends and posts to them, and the clipboard as a whole. Handles come from here or from
// the program's own controls (Control::Handle).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace platform {

// A healthy window answers a set-text in well under a millisecond; a hung one must not
// hold the program (which may run at real-time priority) for longer than this.
inline constexpr int SendTimeoutMs = 2000;

// What became of a sent or posted message.
enum class Delivery {
  Done,      // handled (sent) or queued (posted)
  NoWindow,  // window 0 or one that no longer exists
  // The window belongs to a process with higher rights (a game run as administrator):
  // Windows refuses messages from below with "access denied".
  Refused,
  NoAnswer,  // sent to a hung window, or still busy after SendTimeoutMs
};

// How the process owning a window runs, as far as the program may see it.
enum class Elevation {
  Unknown,   // no window, or nothing to tell
  Normal,    // not elevated
  Elevated,  // run as administrator
  Hidden,    // the program may not even look: a process with higher rights
};

// One format of the clipboard's contents: its number, its registered name (only for
// registered formats, whose numbers differ between sessions) and its bytes.
struct ClipboardFormat {
  unsigned id = 0;
  std::string name;
  std::string bytes;
  bool operator==(const ClipboardFormat&) const = default;
};
using ClipboardContents = std::vector<ClipboardFormat>;

class Desktop {
 public:
  virtual ~Desktop() = default;
  // The deepest visible window at the screen point, or 0.
  virtual WindowHandle WindowFromPoint(Point screen) = 0;
  // The window's class name, cut to `capacity` - 1 characters; "" for no window.
  virtual std::string ClassName(WindowHandle window, int capacity) = 0;
  // The id of the process that owns the window; 0 for no window. Two windows of one
  // process give the same id, as long as that process lives.
  virtual std::uint32_t WindowProcess(WindowHandle window) = 0;
  // How the window's process runs; Unknown for no window.
  virtual Elevation ProcessElevation(WindowHandle window) = 0;
  // The full path (UTF-8) of the program file the window's process runs; "" for no
  // window, or where the program may not look.
  virtual std::string ProcessImage(WindowHandle window) = 0;

  // WM_SETTEXT with the given first parameter and a zero-terminated text; returns
  // after the receiving window has handled it, or gives up (NoAnswer) on a window that
  // is hung or still busy after SendTimeoutMs.
  virtual Delivery SendSetText(WindowHandle window, std::uintptr_t wparam, const char* text) = 0;
  // Posted messages wait in the receiver's queue: Done says only that they got there.
  // Posting to window 0 does nothing and gives NoWindow.
  virtual Delivery PostKeyDown(WindowHandle window, int virtualKey) = 0;  // WM_KEYDOWN, lParam 0
  virtual Delivery PostKeyUp(WindowHandle window, int virtualKey) = 0;    // WM_KEYUP, lParam 0
  virtual Delivery PostCopy(WindowHandle window) = 0;                     // WM_COPY
  virtual Delivery PostPaste(WindowHandle window) = 0;                    // WM_PASTE

  // The clipboard. Another program may hold it open for a while: then it can be neither
  // read nor written, and these give nullopt or false.
  // A copy of every format it holds that can be copied (formats Windows makes up from
  // others, such as a bitmap beside a device-independent one, come back by themselves).
  virtual std::optional<ClipboardContents> SaveClipboard() = 0;
  // Empties it and puts back the formats, exactly; an empty list leaves it empty.
  virtual bool RestoreClipboard(const ClipboardContents& contents) = 0;
  // Grows whenever the clipboard's contents change, whoever changes them.
  virtual std::uint32_t ClipboardSequence() = 0;
};

}  // namespace platform
