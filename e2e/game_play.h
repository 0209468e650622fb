// Playing a whole game through the driver: an account stored through the real editor,
// chat lines prepared, the clipboard, the stand-in's transcript, and a drag with the
// real mouse.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "e2e/quenlar_harness.h"
#include "standin/transcript_format.h"

namespace e2e {

inline constexpr const char* GameTranscript = "C:\\Games\\Mir\\mir-transcript.txt";

// The dialog of Quenlar's toolkit with this exact title.
HWND WaitForDialog(QuenlarRun& run, const std::string& title);
// The single-line edits of a dialog in tab order.
std::vector<HWND> Edits(HWND dialog);
void SetText(HWND window, const std::string& text);
// Types into the utility login dialog and presses OK; `confirm` only in set mode; `box`
// is the message the dialog shows before it closes, if any.
void LoginWith(QuenlarRun& run, const std::string& password, const std::string& confirm = {},
               const char* box = nullptr);
inline constexpr const char* NewPasswordRequest =
    "Please enter a password that you would like to use to protect this utility!\r"
    "Please make sure that the password is NOT the same as your Mir password!";
// Answers the prompt for a first utility password (its request, then the set-mode dialog).
void SetUtilityPassword(QuenlarRun& run, const std::string& guard);
// Account `SelectedAccount` (the first of the list) saved through the account editor;
// `answerPrompt` answers the utility password's prompt where it is on.
void SaveAccount(QuenlarRun& run, const std::string& name, const std::string& login,
                 const std::string& password, const std::function<void()>& answerPrompt = {});
// The message slots through the message editor, one line each.
void SetMessages(QuenlarRun& run, const std::vector<std::string>& lines);

void SetClipboardText(const std::string& text);
std::string ClipboardText();
// A picture the way a paint program copies it: a device-independent bitmap (Windows
// offers the bitmap and the other forms from it).
void SetClipboardPicture(const std::string& dib);
// The bytes of one clipboard format; "" when it holds none.
std::string ClipboardBytes(UINT format);

// The transcript's events of the latest run of mir.exe.
std::vector<transcript::Event> LatestGameEvents(const std::string& transcript = GameTranscript);
// The texts set into one field, in order.
std::vector<std::string> TextsSet(const std::vector<transcript::Event>& events,
                                  const std::string& field);
std::vector<std::string> ChatLines(const std::vector<transcript::Event>& events);
// Waits until the latest run's transcript has `count` events of `kind`.
std::vector<transcript::Event> WaitForGameEvents(const std::string& kind, size_t count,
                                                 DWORD timeoutMs = DefaultTimeoutMs,
                                                 const std::string& transcript = GameTranscript);

// Presses the left button at `from`, moves in steps to `to` and releases it there,
// through SendInput, as a player's hand would.
void DragWithMouse(POINT from, POINT to);
// Moves there, then presses and releases the left button without moving.
void ClickWithMouse(POINT at);

// Saves the whole screen as <artifacts>/<name>.bmp.
void SaveScreen(const Installation& setup, const std::string& name);

}  // namespace e2e
