// Stand-in game client: the log-in screen, the main window and its chat entry line at the
// screen points the guardian relies on, with a transcript of everything done to them.
#include <windows.h>

#include <string>

#include "standin/client.h"
#include "standin/field.h"
#include "standin/game_window.h"
#include "standin/login_screen.h"
#include "standin/transcript_format.h"

namespace {

using standin::Client;

// The command line less the program's own (possibly quoted) name, trimmed.
std::string Parameter(const char* commandLine) {
  std::string_view rest = commandLine;
  if (!rest.empty() && rest[0] == '"') {
    size_t close = rest.find('"', 1);
    rest.remove_prefix(close == std::string_view::npos ? rest.size() : close + 1);
  } else {
    size_t blank = rest.find_first_of(" \t");
    rest.remove_prefix(blank == std::string_view::npos ? rest.size() : blank);
  }
  size_t first = rest.find_first_not_of(" \t");
  if (first == std::string_view::npos) return "";
  size_t last = rest.find_last_not_of(" \t");
  return std::string(rest.substr(first, last - first + 1));
}

void RecordStart(Client& client) {
  auto& log = client.transcript;
  // In UTF-8: the folder may be named beyond the code page.
  wchar_t path[MAX_PATH * 2] = L"";
  GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
  wchar_t cwd[MAX_PATH * 2] = L"";
  GetCurrentDirectoryW(MAX_PATH * 2, cwd);
  log.Write("start", "pid " + std::to_string(GetCurrentProcessId()), false);
  log.Write("exe", transcript::Quote(standin::Utf8Of(path)), false);
  log.Write("cmdline", transcript::Quote(standin::Utf8Of(GetCommandLineW())), false);
  log.Write("server", transcript::Quote(client.server), false);
  log.Write("cwd", transcript::Quote(standin::Utf8Of(cwd)), false);
  log.Flush();
}

// Buffered field texts reach the file at the latest this long after they came.
constexpr ULONGLONG FlushDelayMs = 100;

int RunMessageLoop(Client& client) {
  ULONGLONG flushDue = 0;
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    // Messages sent from other processes are handled inside the peek and the wait, so a
    // flood never comes back here between its texts: the due time is kept across wakes.
    DWORD wait = INFINITE;
    if (client.transcript.HasPending()) {
      ULONGLONG now = GetTickCount64();
      if (!flushDue) flushDue = now + FlushDelayMs;
      if (now >= flushDue) {
        client.transcript.Flush();
        flushDue = 0;
        continue;
      }
      wait = static_cast<DWORD>(flushDue - now);
    } else {
      flushDue = 0;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  Client client(standin::TranscriptPathBesideExe());
  client.server = Parameter(GetCommandLineA());
  RecordStart(client);

  if (!standin::RegisterFieldClass(instance) || !standin::RegisterLoginScreenClass(instance) ||
      !standin::RegisterGameWindowClass(instance) ||
      !standin::CreateLoginScreen(instance, client)) {
    client.transcript.Write("exit", "code 1", true);
    return 1;
  }
  client.transcript.Write("screen", "login", true);
  int code = RunMessageLoop(client);
  client.transcript.Write("exit", "code " + std::to_string(code), true);
  return code;
}
