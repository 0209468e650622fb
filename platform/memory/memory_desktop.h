// A simulated Windows desktop: windows of the program and of other simulated processes,
// found by screen point, and the messages sent and posted to them, with a journal of
// every one. Also the clipboard, which windows reach through WM_COPY and WM_PASTE.
//
// Sent messages are handled at once. Posted messages wait in a queue: the program's own
// are handled when the program processes its messages (ProcessMessages or a step of the
// message loop); another process's are handled when that process gets to run, which in
// this simulation is at the program's next ProcessMessages, message-loop step or Sleep.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/memory/memory_clock.h"

namespace platform {

using ProcessId = int;
inline constexpr ProcessId ProgramProcess = 0;

enum class WindowMessageId : unsigned {
  SetText = 0x000C,
  KeyDown = 0x0100,
  KeyUp = 0x0101,
  Copy = 0x0301,
  Paste = 0x0302,
};

struct WindowMessage {
  WindowMessageId id = WindowMessageId::SetText;
  WindowHandle window = 0;
  std::uintptr_t wparam = 0;  // the key code of a key message
  std::string text;           // the text of WM_SETTEXT
};

using WindowProc = std::function<void(const WindowMessage&)>;

struct WindowSpec {
  std::string className;
  ProcessId owner = ProgramProcess;
  WindowHandle parent = 0;  // 0: a top-level window, placed on top of the others
  Bounds rect;              // in the parent's client coordinates; on screen for top-level
  Point clientOffset;       // where the client area begins inside the window
  bool visible = true;
  bool enabled = true;
  bool transparent = false;  // a static control: a point over it finds what lies beneath
  WindowProc proc;
};

enum class MessageFate {
  Handled,
  Pending,   // posted, still waiting in the queue
  NoWindow,  // the window was 0 or did not exist
  Dropped,   // the window was destroyed before the message was handled
  TimedOut,  // sent to a hung window: the sender gave up
  Refused,   // the window's process has higher rights than the program
};

struct MessageRecord {
  std::int64_t atMs = 0;
  WindowHandle window = 0;
  std::string className;  // "" for no window
  ProcessId owner = ProgramProcess;
  WindowMessageId message = WindowMessageId::SetText;
  std::uintptr_t wparam = 0;
  std::string text;
  bool posted = false;
  MessageFate fate = MessageFate::Handled;
};

class MemoryDesktop : public Desktop {
 public:
  static constexpr int ScreenWidth = 1024;
  static constexpr int ScreenHeight = 768;

  // Sleeping on `clock` lets the other processes handle their posted messages.
  explicit MemoryDesktop(MemoryClock& clock);
  ~MemoryDesktop() override;
  MemoryDesktop(const MemoryDesktop&) = delete;
  MemoryDesktop& operator=(const MemoryDesktop&) = delete;

  // Process ids as the seam gives them: a simulated process plus this base, so that the
  // program's own windows (process 0) have an id as well.
  static constexpr std::uint32_t ProcessIdBase = 4000;

  WindowHandle WindowFromPoint(Point screen) override;
  std::string ClassName(WindowHandle window, int capacity) override;
  std::uint32_t WindowProcess(WindowHandle window) override;
  // Elevated for a process with higher rights, Normal for any other.
  Elevation ProcessElevation(WindowHandle window) override;
  // As SetProcessImage gave it; "" for a process none was given for.
  std::string ProcessImage(WindowHandle window) override;
  // A hung window keeps the sender for SendTimeoutMs of virtual time and handles nothing.
  // A window of a process with higher rights refuses sent and posted messages at once.
  Delivery SendSetText(WindowHandle window, std::uintptr_t wparam, const char* text) override;
  Delivery PostKeyDown(WindowHandle window, int virtualKey) override;
  Delivery PostKeyUp(WindowHandle window, int virtualKey) override;
  Delivery PostCopy(WindowHandle window) override;
  Delivery PostPaste(WindowHandle window) override;
  // Nothing while another program holds the clipboard.
  std::optional<ClipboardContents> SaveClipboard() override;
  bool RestoreClipboard(const ClipboardContents& contents) override;
  std::uint32_t ClipboardSequence() override { return clipboardSequence_; }

  // Windows. A destroyed window takes its children with it; destroying an unknown
  // handle does nothing.
  ProcessId NewProcess() { return nextProcess_++; }
  WindowHandle AddWindow(WindowSpec spec);
  void RemoveWindow(WindowHandle window);
  bool Exists(WindowHandle window) const;
  std::string ClassOf(WindowHandle window) const;  // the whole name; "" for none
  ProcessId OwnerOf(WindowHandle window) const;
  WindowHandle ParentOf(WindowHandle window) const;
  void SetRect(WindowHandle window, Bounds rect);
  Bounds Rect(WindowHandle window) const;
  void SetClientOffset(WindowHandle window, Point offset);
  void SetVisible(WindowHandle window, bool visible);
  void SetEnabled(WindowHandle window, bool enabled);
  // A hung window's process has stopped handling its messages.
  void SetHung(WindowHandle window, bool hung);
  // A process started with higher rights (as administrator) than the program.
  void SetHigherRights(ProcessId process, bool higher);
  // The program file a process runs.
  void SetProcessImage(ProcessId process, const std::string& path) { images_[process] = path; }
  // Shown and every ancestor shown.
  bool IsShown(WindowHandle window) const;
  // Enabled and every ancestor enabled.
  bool IsEnabled(WindowHandle window) const;
  // Puts the window above its siblings (a top-level window above all others).
  void BringToTop(WindowHandle window);
  Bounds ScreenRect(WindowHandle window) const;
  Point ClientToScreen(WindowHandle window, Point client) const;
  std::vector<WindowHandle> WindowsOf(ProcessId owner) const;  // in creation order

  // Handles the waiting posted messages, in the order they were posted: all of them, or
  // only those of other processes. Messages posted meanwhile are handled as well.
  void DeliverPosted();
  void DeliverForeign();
  int PendingCount() const { return static_cast<int>(queue_.size()); }
  int PendingForProgram() const;

  // The clipboard: formats, of which text (CF_TEXT, the bytes without their closing
  // zero) is the one edits copy and paste. Tests arrange and read it here.
  static constexpr unsigned TextFormat = 1;
  // Its text, or nullopt when it holds none.
  std::optional<std::string> clipboard() const;
  // Text only, or empty for nullopt.
  void SetClipboard(std::optional<std::string> text);
  const ClipboardContents& clipboardContents() const { return clipboard_; }
  void SetClipboardContents(ClipboardContents contents);
  // Another program holds the clipboard open: no window can copy or paste meanwhile.
  void SetClipboardHeld(bool held) { clipboardHeld_ = held; }
  // What windows do on WM_COPY and WM_PASTE: the copy replaces every format, and both
  // do nothing while the clipboard is held.
  void CopyText(const std::string& text);
  std::optional<std::string> PasteText() const;

  const std::vector<MessageRecord>& messages() const { return journal_; }
  // The journalled messages to one window, or of one kind, in order.
  std::vector<MessageRecord> MessagesTo(WindowHandle window) const;
  std::vector<MessageRecord> MessagesOfKind(WindowMessageId message) const;
  // Forgets the journal; waiting messages stay queued.
  void ClearJournal();

 private:
  struct Window {
    WindowSpec spec;
    std::vector<WindowHandle> children;  // topmost first
  };
  struct Queued {
    WindowMessage message;
    std::size_t record;  // index into journal_
  };

  const Window* Find(WindowHandle window) const;
  Window* Find(WindowHandle window);
  WindowHandle Descend(WindowHandle window, Point screen) const;
  Delivery Post(WindowHandle window, WindowMessageId id, std::uintptr_t wparam);
  bool Refuses(WindowHandle window) const;
  std::size_t Record(WindowHandle window, WindowMessageId id, std::uintptr_t wparam,
                     const std::string& text, bool posted);
  void Dispatch(const WindowMessage& message, std::size_t record);
  void Deliver(bool foreignOnly);

  MemoryClock& clock_;
  std::map<WindowHandle, Window> windows_;
  std::vector<WindowHandle> topLevels_;  // topmost first
  WindowHandle nextHandle_ = 0x10010;
  ProcessId nextProcess_ = ProgramProcess + 1;
  std::deque<Queued> queue_;
  std::vector<MessageRecord> journal_;
  ClipboardContents clipboard_;
  bool clipboardHeld_ = false;
  std::uint32_t clipboardSequence_ = 1;
  std::set<WindowHandle> hung_;
  std::set<ProcessId> higherRights_;
  std::map<ProcessId, std::string> images_;
};

}  // namespace platform
