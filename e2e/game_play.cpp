#include "e2e/game_play.h"

#include <cstring>

namespace e2e {

namespace {

void MouseInput(DWORD flags, POINT at, bool move = true) {
  // Absolute coordinates run from 0 to 65535 over the primary screen.
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = flags | (move ? MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE : 0);
  if (SendInput(1, &input, sizeof input) != 1) throw DriverError("SendInput failed");
  Pump(30);
}

}  // namespace

std::vector<HWND> Edits(HWND dialog) {
  std::vector<HWND> found;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (ClassOf(child) == "Edit") found.push_back(child);
  return found;
}

void SetText(HWND window, const std::string& text) {
  SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

HWND WaitForDialog(QuenlarRun& run, const std::string& title) {
  HWND main = run.MainWindow();
  return WaitForTopLevel(
      run.process().id(),
      [&](HWND w) { return ClassOf(w) == "QuenlarForm" && TextOf(w) == title && w != main; },
      "the window \"" + title + "\"");
}

void LoginWith(QuenlarRun& run, const std::string& password, const std::string& confirm,
               const char* box) {
  HWND login = WaitForDialog(run, "Utility Login");
  std::vector<HWND> edits = Edits(login);
  if (edits.size() != 2) throw DriverError("the login dialog has no two edits");
  SetText(edits[0], password);
  if (!confirm.empty()) SetText(edits[1], confirm);
  PostClick(FindChild(login, "Button", "&OK"));
  if (box) run.Answer("Information", box, "OK");
  WaitUntilGone(login, "the login dialog");
}

void SetUtilityPassword(QuenlarRun& run, const std::string& guard) {
  run.Answer("Information", NewPasswordRequest, "OK");
  LoginWith(run, guard, guard);
}

void SaveAccount(QuenlarRun& run, const std::string& name, const std::string& login,
                 const std::string& password, const std::function<void()>& answerPrompt) {
  PostClick(run.Button("&Accounts..."));
  HWND accounts = WaitForDialog(run, "Accounts");
  PostClick(FindChild(accounts, "Button", "&Edit"));
  if (answerPrompt) answerPrompt();
  HWND editor = WaitForDialog(run, "");
  std::vector<HWND> fields = Edits(editor);
  if (fields.size() != 3) throw DriverError("the account editor has no three edits");
  SetText(fields[0], name);
  SetText(fields[1], login);
  SetText(fields[2], password);
  PostClick(FindChild(editor, "Button", "Save"));
  WaitUntilGone(editor, "the account editor");
  PostClick(FindChild(accounts, "Button", "&Close"));
  WaitUntilGone(accounts, "the account list");
}

void SetMessages(QuenlarRun& run, const std::vector<std::string>& lines) {
  ChooseMenu(run.MainWindow(), {{"&Options"}, {"Messaging...", 3}});
  HWND messaging = WaitForDialog(run, "Messaging");
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  SetText(FindMultiLineEdit(messaging), text);
  PostClick(FindChild(messaging, "Button", "&OK"));
  WaitUntilGone(messaging, "the message editor");
}

void SetClipboardText(const std::string& text) {
  for (int i = 0; i < 50 && !OpenClipboard(nullptr); ++i) Pump(20);
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
}

void SetClipboardPicture(const std::string& dib) {
  for (int i = 0; i < 50 && !OpenClipboard(nullptr); ++i) Pump(20);
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, dib.size());
  std::memcpy(GlobalLock(memory), dib.data(), dib.size());
  GlobalUnlock(memory);
  SetClipboardData(CF_DIB, memory);
  CloseClipboard();
}

std::string ClipboardBytes(UINT format) {
  for (int i = 0; i < 50 && !OpenClipboard(nullptr); ++i) Pump(20);
  std::string bytes;
  if (HANDLE data = GetClipboardData(format)) {
    bytes.assign(static_cast<const char*>(GlobalLock(data)), GlobalSize(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return bytes;
}

std::string ClipboardText() {
  for (int i = 0; i < 50 && !OpenClipboard(nullptr); ++i) Pump(20);
  std::string text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    text = static_cast<const char*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

std::vector<transcript::Event> LatestGameEvents(const std::string& path) {
  const auto all = transcript::ParseAll(FileExists(path) ? ReadFileBytes(path) : "");
  std::vector<transcript::Event> latest;
  for (const auto& event : all) {
    if (event.kind == "start") latest.clear();
    latest.push_back(event);
  }
  return latest;
}

std::vector<std::string> TextsSet(const std::vector<transcript::Event>& events,
                                  const std::string& field) {
  std::vector<std::string> texts;
  for (const auto& e : events)
    if (e.kind == "set" && e.fields.size() == 2 && e.fields[0] == field)
      texts.push_back(e.fields[1]);
  return texts;
}

std::vector<std::string> ChatLines(const std::vector<transcript::Event>& events) {
  std::vector<std::string> lines;
  for (const auto& e : events)
    if (e.kind == "chat" && !e.fields.empty()) lines.push_back(e.fields[0]);
  return lines;
}

std::vector<transcript::Event> WaitForGameEvents(const std::string& kind, size_t count,
                                                 DWORD timeoutMs, const std::string& path) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    auto events = LatestGameEvents(path);
    size_t found = 0;
    for (const auto& e : events) found += e.kind == kind;
    if (found >= count) return events;
    if (GetTickCount64() > end)
      throw DriverError("the game transcript has " + std::to_string(found) + " of " +
                        std::to_string(count) + " '" + kind + "' lines");
    Pump(100);
  }
}

void DragWithMouse(POINT from, POINT to) {
  MouseInput(0, from);
  MouseInput(MOUSEEVENTF_LEFTDOWN, from);
  constexpr int Steps = 8;
  for (int i = 1; i <= Steps; ++i)
    MouseInput(0,
               POINT{from.x + (to.x - from.x) * i / Steps, from.y + (to.y - from.y) * i / Steps});
  MouseInput(MOUSEEVENTF_LEFTUP, to);
}

void ClickWithMouse(POINT at) {
  MouseInput(0, at);
  MouseInput(MOUSEEVENTF_LEFTDOWN, at, false);
  MouseInput(MOUSEEVENTF_LEFTUP, at, false);
}

void SaveScreen(const Installation& setup, const std::string& name) {
  Pump(300);
  SaveBmp(CaptureScreen(), JoinPath(setup.artifacts, name + ".bmp"));
}

}  // namespace e2e
