// Drives the stand-in client from another process the way the guardian does, then checks
// its transcript: login fill with a stealth flood, submit, two chat lines, exit.
// Usage: standin_poke [path\to\mir.exe] [--keep]   (default: mir.exe beside this program;
// --keep leaves the client running at the end, for a look at the screen).
#include <windows.h>

#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "game_client/contract.h"
#include "standin/test/desktop.h"
#include "standin/transcript_format.h"

namespace {

using namespace poke;
namespace gc = game_client;

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

void Expect(bool ok, const std::string& what) {
  if (!ok) throw Failure(what);
}

std::string Shown(const std::string& text) { return transcript::Quote(text); }

void ExpectEqual(const std::string& actual, const std::string& expected, const std::string& what) {
  Expect(actual == expected, what + ": got " + Shown(actual) + ", expected " + Shown(expected));
}

std::string Folder(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string BesideSelf(const char* name) {
  char self[MAX_PATH * 2] = "";
  GetModuleFileNameA(nullptr, self, sizeof self);
  return Folder(self) + "\\" + name;
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                        b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

// The client process; terminated at the end unless it was closed or is to be kept.
struct Started {
  PROCESS_INFORMATION info{};
  bool keep = false;
  ~Started() {
    if (!info.hProcess) return;
    if (!keep && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT)
      TerminateProcess(info.hProcess, 99);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
  }
};

void Launch(Started& client, const std::string& exe, const std::string& folder) {
  std::string commandLine = "\"" + exe + "\" " + gc::GameServerAddress;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  Expect(CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &client.info),
         "cannot start " + exe + " (error " + std::to_string(GetLastError()) + ")");
}

// Ten random bytes from 1 to 255, as the stealth flood makes them.
std::string RandomText(std::mt19937& random) {
  std::uniform_int_distribution<int> byte(1, 255);
  std::string text(10, '\0');
  for (char& c : text) c = static_cast<char>(byte(random));
  return text;
}

void SetText(HWND field, const std::string& text) {
  char buffer[gc::FieldTextCapacity + 1] = {};
  text.copy(buffer, gc::FieldTextCapacity);
  SendMessageA(field, WM_SETTEXT, gc::FieldTextCapacity, reinterpret_cast<LPARAM>(buffer));
}

// The events of the run of one process: from its start line to the next start line.
std::vector<transcript::Event> RunOf(const std::string& text, DWORD processId) {
  std::vector<transcript::Event> run;
  bool inside = false;
  for (auto& event : transcript::ParseAll(text)) {
    if (event.kind == "start") {
      inside = event.fields.size() == 2 && event.fields[1] == std::to_string(processId);
      if (!inside) continue;
    }
    if (inside) run.push_back(std::move(event));
  }
  return run;
}

std::vector<transcript::Event> OfKind(const std::vector<transcript::Event>& run, const char* kind) {
  std::vector<transcript::Event> found;
  for (auto& event : run)
    if (event.kind == kind) found.push_back(event);
  return found;
}

// Waits until the run holds at least `count` events of the kind.
std::vector<transcript::Event> WaitForEvents(const std::string& path, unsigned long long offset,
                                             DWORD processId, const char* kind, size_t count) {
  ULONGLONG deadline = GetTickCount64() + 15000;
  for (;;) {
    auto run = RunOf(ReadFileFrom(path, offset), processId);
    if (OfKind(run, kind).size() >= count || GetTickCount64() >= deadline) return run;
    PumpFor(100);
  }
}

// The texts set into one field, in order.
std::vector<std::string> TextsSetInto(const std::vector<transcript::Event>& run,
                                      const char* field) {
  std::vector<std::string> texts;
  for (auto& event : OfKind(run, "set"))
    if (event.fields.size() == 2 && event.fields[0] == field) texts.push_back(event.fields[1]);
  return texts;
}

void ExpectTexts(const std::vector<std::string>& actual, const std::vector<std::string>& expected,
                 const char* field) {
  Expect(actual.size() == expected.size(), std::string("texts set into ") + field + ": got " +
                                               std::to_string(actual.size()) + ", expected " +
                                               std::to_string(expected.size()));
  for (size_t i = 0; i < expected.size(); ++i)
    ExpectEqual(actual[i], expected[i], std::string(field) + " text #" + std::to_string(i));
}

int Run(const std::string& exe, bool keep) {
  const std::string folder = Folder(exe);
  const std::string transcriptPath = folder + "\\mir-transcript.txt";
  const unsigned long long offset = FileSize(transcriptPath);

  Started client;
  client.keep = keep;
  Launch(client, exe, folder);
  const DWORD pid = client.info.dwProcessId;

  HWND login = WaitForClassAt(gc::LoginPoint, gc::FieldClass, pid, 30000);
  Expect(login, "no TEdit of the client at the login point");
  HWND password = WindowAt(gc::PasswordPoint);
  Expect(password != login && ClassOf(password) == gc::FieldClass && ProcessOf(password) == pid,
         "no separate TEdit of the client at the password point");

  // The stealth flood, then the real values; the password exercises the escapes.
  unsigned seed = GetTickCount();
  std::mt19937 random(seed);
  std::printf("poke: client %lu, flood seed %u\n", pid, seed);
  std::fflush(stdout);
  std::vector<std::string> logins, passwords;
  ULONGLONG floodStart = GetTickCount64();
  for (int i = 0; i < 1025; ++i) {
    std::string text = RandomText(random);
    SetText(login, text);
    SetText(password, text);
    logins.push_back(text);
    passwords.push_back(text);
  }
  ULONGLONG floodMs = GetTickCount64() - floodStart;
  const std::string realLogin = "Warrior", realPassword = "p\"a\\ss w\x01\t\x7f\xe9\xff";
  SetText(login, realLogin);
  SetText(password, realPassword);
  logins.push_back(realLogin);
  passwords.push_back(realPassword);
  // The buffered texts must reach the file on their own, before anything else happens.
  const size_t setCount = logins.size() + passwords.size();
  Expect(
      OfKind(WaitForEvents(transcriptPath, offset, pid, "set", setCount), "set").size() == setCount,
      "the texts set did not all reach the transcript");
  PostMessageA(password, WM_KEYDOWN, VK_RETURN, 0);
  PostMessageA(password, WM_KEYUP, VK_RETURN, 0);

  HWND game = WaitForClassAt(gc::GameWindowPoint, gc::GameWindowClass, pid, 15000);
  Expect(game, "no TDXDraw of the client at the game window point after the login");
  Expect(WaitForClassAt(gc::ChatPoint, gc::GameWindowClass, pid, 5000) == game,
         "the chat point does not show the game window while the chat line is closed");

  const std::vector<std::string> lines = {
      "/Kael 01:20:00 - 00:40:00 before d/c",
      "Selling: 3 \"sun\" potions, 1 bag; meet at the gate, ask for Warrior "
      "(whisper first) \\ 0123456789 abcdefghijklmnopqrstuvwxyz ABCDEFGHIJ, and a tail "
      "long enough to run well past the right edge of the entry line: "
      "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW end"};
  // The second line is wider than the entry line: an edit without ES_AUTOHSCROLL cuts it.
  ClipboardEdit clipboard;
  for (const std::string& line : lines) {
    PostMessageA(game, WM_KEYDOWN, VK_RETURN, 0);
    HWND chat = WaitForClassAt(gc::ChatPoint, gc::FieldClass, pid, 10000);
    Expect(chat, "Enter on the game window opened no TEdit at the chat point");
    clipboard.Put(line);
    PostMessageA(chat, WM_PASTE, 0, 0);
    PumpFor(250);
    PostMessageA(chat, WM_KEYDOWN, VK_RETURN, 0);
    Expect(WaitForClassAt(gc::ChatPoint, gc::GameWindowClass, pid, 10000) == game,
           "the chat line did not close after Enter");
  }

  auto run = WaitForEvents(transcriptPath, offset, pid, "chat", lines.size());
  Expect(!run.empty(), "no run of process " + std::to_string(pid) + " in " + transcriptPath);
  auto server = OfKind(run, "server");
  Expect(server.size() == 1 && server[0].fields.size() == 1, "no server line");
  ExpectEqual(server[0].fields[0], gc::GameServerAddress, "server");
  auto cwd = OfKind(run, "cwd");
  Expect(cwd.size() == 1 && cwd[0].fields.size() == 1 && SameIgnoringCase(cwd[0].fields[0], folder),
         "cwd line missing or not " + folder);
  auto cmdline = OfKind(run, "cmdline");
  Expect(cmdline.size() == 1 && cmdline[0].fields.size() == 1 &&
             cmdline[0].fields[0].find(gc::GameServerAddress) != std::string::npos,
         "cmdline line missing or without the server");

  ExpectTexts(TextsSetInto(run, "login"), logins, "login");
  ExpectTexts(TextsSetInto(run, "password"), passwords, "password");
  auto submitted = OfKind(run, "login-submitted");
  Expect(submitted.size() == 1 && submitted[0].fields.size() == 4, "not one login-submitted line");
  ExpectEqual(submitted[0].fields[1], realLogin, "submitted login");
  ExpectEqual(submitted[0].fields[3], realPassword, "submitted password");

  std::vector<std::string> sent;
  for (auto& event : OfKind(run, "chat"))
    sent.push_back(event.fields.empty() ? "" : event.fields[0]);
  ExpectTexts(sent, lines, "chat");

  if (keep) {
    std::printf("poke: OK, client %lu left running\n", pid);
    return 0;
  }
  PostMessageA(game, WM_CLOSE, 0, 0);
  Expect(WaitForSingleObject(client.info.hProcess, 15000) == WAIT_OBJECT_0,
         "the client did not end after WM_CLOSE");
  DWORD code = 1;
  GetExitCodeProcess(client.info.hProcess, &code);
  Expect(code == 0, "client exit code " + std::to_string(code));
  run = WaitForEvents(transcriptPath, offset, pid, "exit", 1);
  Expect(!run.empty() && run.back().kind == "exit", "the transcript does not end with exit");

  std::printf("poke: OK (flood of %zu texts: %llu ms)\n", setCount - 2, floodMs);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string exe;
  bool keep = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--keep")
      keep = true;
    else
      exe = arg;
  }
  if (exe.empty()) exe = BesideSelf(gc::ExecutableName);
  try {
    return Run(exe, keep);
  } catch (const Failure& failure) {
    std::fprintf(stderr, "poke: FAILED: %s\n", failure.what());
    return 1;
  }
}
