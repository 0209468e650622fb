// Playing Quenlar through the driver: where the programs are, a clean user state, and one
// run of quenlar.exe from its start to its end. Shared by the end-to-end tests and the demo.
#pragma once

#include <string>
#include <vector>

#include "e2e/driver.h"

namespace e2e {

inline constexpr const char* ProductKey = "Software\\Palvex";
inline constexpr const char* SettingsKey = "Software\\Palvex\\Quenlar";
inline constexpr const char* AccessKey = "Software\\Palvex\\Quenlar\\Access";
inline constexpr const char* RunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* OwnRunValue = "Quenlar";
// An autostart entry the tests plant as a trojan would.
inline constexpr const char* PlantedRunValue = "Trojan";

inline constexpr const char* GameFolder = "C:\\Games\\Mir\\";
inline constexpr const char* GameExe = "C:\\Games\\Mir\\mir.exe";
inline constexpr const char* GamePatcherConfig = "C:\\Games\\Mir\\ftp.ini";
// Quenlar's working folder: empty, so that look-ups relative to it find nothing.
inline constexpr const char* WorkFolder = "C:\\Quenlar\\";

inline constexpr const char* OpenDialogTitle = "Select Legend of Mir Executable";
inline constexpr const char* FirstRunQuestion = "Is this the first time you have run Quenlar?";
inline constexpr const char* PublicTargetLine = "Message Target: <public message>";

struct Installation {
  std::string quenlarExe;  // Windows paths
  std::string mirExe;
  std::string patcherConfig;  // the ftp.ini built beside mir.exe
  std::string artifacts;      // screenshots and logs go here

  // From QUENLAR_EXE, MIR_EXE and E2E_ARTIFACTS (Unix or Windows paths).
  static Installation FromEnvironment();
};

// No settings, no accounts, no autostart entry of ours or the planted one, the stand-in
// game freshly copied into GameFolder, and an empty WorkFolder.
void ResetUserState(const Installation& setup);
void RestoreGameFolder(const Installation& setup);
// The stand-in and its ftp.ini freshly copied into an emptied `folder` (with its
// trailing backslash; UTF-8, so any name will do).
void InstallGameIn(const Installation& setup, const std::string& folder);

enum class ExitBy { Menu, Button };

// A question and the button to answer it with.
struct Reply {
  std::string text;
  std::string button;
};

enum class LogColour { Black, Red, Unknown };

// One run of quenlar.exe. Artefacts of the run are named after `name`.
class QuenlarRun {
 public:
  QuenlarRun(const Installation& setup, std::string name);

  Process& process() { return process_; }
  // The main window ("Quenlar" or "Quenlar - <account>"), waited for.
  HWND MainWindow();
  std::string Title();
  HWND Button(const std::string& caption);
  std::vector<std::string> Log();

  // Waits for a message box with the title, checks its text and answers it.
  void Answer(const std::string& title, const std::string& text, const std::string& button);
  // The first-time question answered "&Yes" and the stand-in game chosen in the open dialog.
  void AnswerFirstRunWithGame(const std::string& gameExe = GameExe);

  // Waits until the scan sequence is over (the three buttons enabled, the message-target
  // line last), saves the log text and a screenshot as artefacts, and returns the log.
  // A message box that comes meanwhile fails the wait with its text.
  std::vector<std::string> WaitForScan();
  // The font colour of the event log, read from the screen. Wine repaints late at times,
  // so while the reading is not `expected` the window is raised, the log repainted and
  // read again, for a few seconds at most; the last reading is returned, and a screenshot
  // of the whole screen is left beside the artefacts.
  LogColour ReadLogColour(LogColour expected);
  void SaveArtifacts();
  const std::string& screenshotPath() const { return screenshot_; }

  // Ends the program through "E&xit", answering exactly these questions in order; returns
  // the exit code. Any other message box, or a missing one, fails.
  DWORD Exit(ExitBy by, const std::vector<Reply>& replies);
  // Waits for the end after something else (an uninstall) asked for it.
  DWORD WaitForEnd();

 private:
  const Installation& setup_;
  std::string name_;
  std::string screenshot_;
  Process process_;
  HWND main_ = nullptr;
};

std::string Joined(const std::vector<std::string>& lines);

}  // namespace e2e
