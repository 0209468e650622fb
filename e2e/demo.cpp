// The headless demo of scripts/run.sh: a whole game of Quenlar against the stand-in game.
// A first run (the first-time question answered "&Yes", the game chosen in the open
// dialog); a second start that saves an account through the real editor and prepares two
// chat lines, presses "&Play", sees the login screen filled and the lines in the game's
// chat, and exits through the menu. A screenshot of each stage, the event log and the
// stand-in's transcript land in the output folder.
// Usage: quenlar_demo <quenlar.exe> <mir.exe> <output folder>   (Unix or Windows paths)
#include <cstdio>

#include "e2e/game_play.h"
#include "e2e/quenlar_harness.h"

namespace {

using namespace e2e;

void Show(const char* start, const std::vector<std::string>& log) {
  std::printf("%s:\n%s", start, Joined(log).c_str());
  std::fflush(stdout);
}

int Play(const Installation& setup) {
  ResetUserState(setup);
  {
    QuenlarRun run(setup, "1-first-start");
    run.AnswerFirstRunWithGame();
    Show("first start", run.WaitForScan());
    if (DWORD code = run.Exit(ExitBy::Button, {}))
      throw DriverError("exit code " + std::to_string(code));
  }
  QuenlarRun run(setup, "2-second-start");
  Show("second start", run.WaitForScan());
  SaveAccount(run, "Warrior", "hero", "pa55word");
  SetMessages(run, {"Hello from Quenlar", "See you in the game"});
  SaveScreen(setup, "3-account-saved");
  const ULONGLONG played = GetTickCount64();
  PostClick(run.Button("&Play"));
  WaitForGameEvents("login-submitted", 1, 60000);
  // Read by polling the transcript every 100 ms: the figure is that coarse.
  std::printf("from Play to the submitted login: %llu ms\n", GetTickCount64() - played);
  SaveScreen(setup, "4-login-filled");
  WaitForGameEvents("chat", 2, 60000);
  SaveScreen(setup, "5-chat-lines");
  Show("the game", run.Log());
  WriteFileBytes(JoinPath(setup.artifacts, "event-log.txt"), Joined(run.Log()));
  CopyFileOrThrow(GameTranscript, JoinPath(setup.artifacts, "mir-transcript.txt"));
  const int code = static_cast<int>(run.Exit(ExitBy::Menu, {}));
  if (HWND game = FindWindowA("TDXDraw", nullptr)) PostMessageA(game, WM_CLOSE, 0, 0);
  WaitForGameEvents("exit", 1);
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: quenlar_demo <quenlar.exe> <mir.exe> <output folder>\n");
    return 2;
  }
  Installation setup;
  setup.quenlarExe = WindowsPath(argv[1]);
  setup.mirExe = WindowsPath(argv[2]);
  setup.patcherConfig =
      JoinPath(setup.mirExe.substr(0, setup.mirExe.find_last_of('\\') + 1), "ftp.ini");
  setup.artifacts = WindowsPath(argv[3]);
  try {
    int code = Play(setup);
    std::printf("Quenlar ended with code %d\n", code);
    return code == 0 ? 0 : 1;
  } catch (const DriverError& error) {
    std::fprintf(stderr, "demo failed: %s\n", error.what());
    return 1;
  }
}
