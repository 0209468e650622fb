// A small Win32 driver for end-to-end tests: starts programs and works their windows from
// another process, the way a person would (menus, buttons, message boxes, the open-file
// dialog), reads what they show, and touches the registry and files they use.
// Every wait has a timeout; a wait that times out throws DriverError with what it waited
// for, so a test failure says what was missing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace e2e {

struct DriverError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

inline constexpr DWORD DefaultTimeoutMs = 30000;

// ---- paths and files

// A Unix path ("/x/y") as Wine shows it ("Z:\x\y"); a Windows path is returned unchanged.
std::string WindowsPath(const std::string& path);
// Paths and texts of the driver are UTF-8; the wide calls take them so.
std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);
// The value of an environment variable; throws when it is missing or empty.
std::string RequiredEnvironment(const char* name);
std::string JoinPath(const std::string& folder, const std::string& name);

void CreateDirectories(const std::string& path);
// Deletes everything inside the folder (files and subfolders), keeping the folder.
void ClearDirectory(const std::string& path);
void CopyFileOrThrow(const std::string& from, const std::string& to);
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
void DeleteFileIfPresent(const std::string& path);

// ---- processes

class Process {
 public:
  // Starts `exe` with the arguments (appended to the quoted exe) in the working folder.
  static Process Start(const std::string& exe, const std::string& arguments,
                       const std::string& workingDirectory);
  Process() = default;
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  // Terminates the process if it still runs: a failed test must not leave it behind.
  ~Process();

  DWORD id() const { return id_; }
  bool Running() const;
  // The exit code, or nullopt if it still runs after the timeout.
  std::optional<DWORD> WaitForExit(DWORD timeoutMs);
  void Terminate();

 private:
  void Close();
  HANDLE handle_ = nullptr;
  DWORD id_ = 0;
};

// Runs the program with the arguments and waits until it and every process it started
// have ended (an uninstaller hands over to a copy of itself and returns at once). Returns
// the program's own exit code; throws DriverError after the timeout, ending them all.
DWORD RunWithDescendants(const std::string& exe, const std::string& arguments, DWORD timeoutMs);

// Sleeps while handling this thread's own messages.
void Pump(DWORD ms);

// ---- windows

std::string ClassOf(HWND window);
// The window's text through WM_GETTEXT, which also works for another process's edits.
std::string TextOf(HWND window);
// The same in UTF-8, through the wide messages.
std::string WideTextOf(HWND window);
DWORD ProcessOf(HWND window);
bool IsEnabled(HWND window);

// Top-level windows of the process, in z-order; only visible ones unless asked otherwise.
std::vector<HWND> TopLevelWindows(DWORD processId, bool visibleOnly = true);
using WindowMatch = std::function<bool(HWND)>;
// The first visible top-level window of the process that matches; nullptr if none.
HWND FindTopLevel(DWORD processId, const WindowMatch& match);
// Waits for one; throws DriverError naming `what` after the timeout.
HWND WaitForTopLevel(DWORD processId, const WindowMatch& match, const std::string& what,
                     DWORD timeoutMs = DefaultTimeoutMs);
// Waits until the window is gone or hidden.
void WaitUntilGone(HWND window, const std::string& what, DWORD timeoutMs = DefaultTimeoutMs);

// A descendant with this class (compared without regard to case) and, unless `text` is
// empty, this exact text; nullptr if none.
HWND FindChild(HWND parent, const std::string& className, const std::string& text = "");
// A descendant that satisfies the match; nullptr if none.
HWND FindDescendant(HWND parent, const WindowMatch& match);

// BM_CLICK, sent: returns when the click's handler has run. Use PostClick for a click that
// opens a modal window, or the driver waits as long as that window stays open.
void Click(HWND button);
void PostClick(HWND button);

// ---- menus

// One step of a menu path: the caption as the program sets it ("E&xit"). `position` is
// the item's place among the non-separator items of its popup, from 0; it is needed only
// for an item without an access key when the menu cannot be read from outside (Wine keeps
// menus inside their process).
struct MenuStep {
  std::string caption;
  int position = -1;
};

// Chooses the item at the end of the path from the window's menu bar: "&Menu" > "E&xit".
// Where the menu can be read it is walked, WM_INITMENUPOPUP is sent (the program's enabling
// rule runs) and WM_COMMAND posted. Otherwise the menu is opened with the keyboard through
// posted messages, so the program's own menu loop runs as for a person. Throws if an item
// is missing or greyed (the popup stays open and is closed again).
void ChooseMenu(HWND window, const std::vector<MenuStep>& path, DWORD timeoutMs = DefaultTimeoutMs);

// ---- message boxes and dialogs

struct MessageBoxView {
  HWND window = nullptr;
  std::string title;
  std::string text;  // the Static with id 65535
};

bool IsMessageBox(HWND window);
// The process's first open message box, if any.
std::optional<MessageBoxView> FindMessageBox(DWORD processId);
MessageBoxView WaitForMessageBox(DWORD processId, const std::string& title,
                                 DWORD timeoutMs = DefaultTimeoutMs);
// Clicks the button with this exact text ("&Yes", "&No", "OK") and waits for the box to close.
void Answer(const MessageBoxView& box, const std::string& button,
            DWORD timeoutMs = DefaultTimeoutMs);

// Waits for the open-file dialog with this title, types the full path into its file-name
// box and presses its OK button; waits until the dialog has closed.
void ChooseFileInOpenDialog(DWORD processId, const std::string& title, const std::string& path,
                            DWORD timeoutMs = DefaultTimeoutMs);

// The multi-line edit on the window (the first one found).
HWND FindMultiLineEdit(HWND window);
// Its text split on CR LF; a line end after the last line adds no empty line.
std::vector<std::string> Lines(const std::string& text);

// ---- registry of the current user (and, where asked, of the machine: its own view or its
// 32-bit view)

enum class Hive { User, Machine, Machine32 };

bool KeyExists(const std::string& path);
// Deletes the key with everything under it; a missing key is no error.
void DeleteKeyTree(const std::string& path);
void DeleteValue(const std::string& key, const std::string& name, Hive hive = Hive::User);
std::optional<DWORD> ReadDword(const std::string& key, const std::string& name);
// A REG_SZ value; nullopt when it is missing or of another type.
std::optional<std::string> ReadString(const std::string& key, const std::string& name);
void WriteString(const std::string& key, const std::string& name, const std::string& value,
                 Hive hive = Hive::User);
std::vector<std::string> ValueNames(const std::string& key);

// ---- the Startup folders, where programs start from at logon

// The current user's Startup folder (Hive::User) or the one of all users.
std::string StartupFolderPath(Hive hive);

// ---- screen

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bgr;  // rows top to bottom, 3 bytes a pixel, no padding

  std::uint32_t Pixel(int x, int y) const;  // 0x00RRGGBB
  size_t DistinctColours() const;
};

// The screen's pixels inside the rectangle (screen coordinates), or all of it.
Image CaptureScreen();
Image CaptureRect(const RECT& area);
Image CaptureWindow(HWND window);
void SaveBmp(const Image& image, const std::string& path);

}  // namespace e2e
