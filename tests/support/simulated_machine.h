// The in-memory machine with simulated game clients: the simulated game plugged into the
// machine's shell, so a test can launch the game as the program does.
#pragma once

#include <string>

#include "platform/memory/memory_machine.h"
#include "tests/support/simulated_game.h"

namespace platform {

class SimulatedMachine : public MemoryMachine {
 public:
  SimulatedMachine() { shell().Plug(games_); }

  SimulatedGames& games() { return games_; }
  // Makes `executable` a game the shell starts a simulated client for; the file is
  // created with `contents` unless it exists already.
  void InstallGame(const std::string& executable, const std::string& contents = "MZ game") {
    if (!files().Exists(executable)) files().AddFile(executable, contents);
    games_.Register(executable);
  }

 private:
  SimulatedGames games_{desktop(), clock()};
};

}  // namespace platform
