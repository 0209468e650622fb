// The headless demo of scripts/run.sh: plays a first run of Quenlar against the stand-in
// game (the first-time question answered "&Yes", the game chosen in the open dialog), exits,
// starts again for a clean scan and exits through the menu. The event log and a screenshot
// of each start land in the output folder.
// Usage: quenlar_demo <quenlar.exe> <mir.exe> <output folder>   (Unix or Windows paths)
#include <cstdio>

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
    QuenlarRun run(setup, "first-start");
    run.AnswerFirstRunWithGame();
    Show("first start", run.WaitForScan());
    if (DWORD code = run.Exit(ExitBy::Button, {})) throw DriverError("exit code " + std::to_string(code));
  }
  QuenlarRun run(setup, "second-start");
  Show("second start", run.WaitForScan());
  return static_cast<int>(run.Exit(ExitBy::Menu, {}));
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
  setup.patcherConfig = JoinPath(setup.mirExe.substr(0, setup.mirExe.find_last_of('\\') + 1),
                                 "ftp.ini");
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
