// The decoy flood into the stand-in game client under Wine: the program's FieldFlood
// beside a bare loop that makes the same calls (the window at the two points, the class
// name, the two set-text sends) against the same client in the same run. Prints the
// median of the rounds of each and their ratio.
// Usage: flood_bench <mir.exe> [rounds]   (default 5)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "accounts/credential_delivery.h"
#include "game_client/contract.h"
#include "platform/win32/win32_machine.h"

namespace {

double Ms(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

template <typename F>
double Time(F&& work) {
  LARGE_INTEGER from, to;
  QueryPerformanceCounter(&from);
  work();
  QueryPerformanceCounter(&to);
  return Ms(from, to);
}

// The same calls as the flood, written out with nothing between them.
void BareFlood() {
  char buffer[145] = {};
  const POINT login{game_client::LoginPoint.x, game_client::LoginPoint.y};
  const POINT password{game_client::PasswordPoint.x, game_client::PasswordPoint.y};
  HANDLE process = OpenProcess(PROCESS_SET_INFORMATION, FALSE, GetCurrentProcessId());
  SetPriorityClass(process, REALTIME_PRIORITY_CLASS);
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
  for (int round = 0; round < FloodRounds; ++round) {
    HWND target = WindowFromPoint(login);
    for (int i = 0; i < 10; ++i) buffer[i] = static_cast<char>(1 + std::rand() % 255);
    char name[144];
    if (GetClassNameA(target, name, sizeof name) > 0 && std::string(name) == "TEdit") {
      DWORD_PTR result;
      SendMessageTimeoutA(target, WM_SETTEXT, 144, reinterpret_cast<LPARAM>(buffer),
                          SMTO_ABORTIFHUNG | SMTO_BLOCK, 2000, &result);
      SendMessageTimeoutA(WindowFromPoint(password), WM_SETTEXT, 144,
                          reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG | SMTO_BLOCK, 2000,
                          &result);
    }
    ZeroMemory(buffer, sizeof buffer);
  }
  SetPriorityClass(process, NORMAL_PRIORITY_CLASS);
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
  CloseHandle(process);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: flood_bench <mir.exe> [rounds]\n");
    return 2;
  }
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  std::string command = std::string("\"") + argv[1] + "\" " + game_client::GameServerAddress;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION game{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &game)) {
    std::fprintf(stderr, "cannot start %s\n", argv[1]);
    return 1;
  }
  const POINT login{game_client::LoginPoint.x, game_client::LoginPoint.y};
  char name[144] = {};
  for (int i = 0; i < 300; ++i) {
    GetClassNameA(WindowFromPoint(login), name, sizeof name);
    if (std::string(name) == "TEdit") break;
    Sleep(50);
  }

  platform::win32::Win32Machine machine;
  platform::Services services = machine.services();
  const std::uint32_t process =
      services.desktop.WindowProcess(services.desktop.WindowFromPoint({login.x, login.y}));
  std::vector<double> program, bare;
  for (int i = 0; i < rounds; ++i) {
    TransferBuffer buffer;
    program.push_back(Time([&] { FieldFlood(services, buffer, process); }));
    bare.push_back(Time(BareFlood));
  }
  const double p = Median(program), b = Median(bare);
  std::printf("flood of %d pairs, median of %d: program %.1f ms, bare loop %.1f ms, ratio %.2f\n",
              FloodRounds, rounds, p, b, p / b);
  TerminateProcess(game.hProcess, 0);
  CloseHandle(game.hThread);
  CloseHandle(game.hProcess);
  return 0;
}
