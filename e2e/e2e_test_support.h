// What the end-to-end tests share: a clean user state before each test, artefact names
// after the test, and the first run that most tests start from.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/quenlar_harness.h"

namespace e2e {

// The log of a start with nothing changed since the first run.
inline const std::vector<std::string> CleanScanLog = {"Registry: User checks complete",
                                                      "Registry: Local checks complete",
                                                      "Autostart: Startup places checks complete",
                                                      "Executable: Checksum OK",
                                                      "Autopatch: ftp.ini OK",
                                                      "Tesk Engine: Checks Complete",
                                                      "Account: ",
                                                      PublicTargetLine};

inline const std::vector<std::string> FirstRunLog = {
    "Setup complete! Close and restart the utility!", "Autopatch: ftp.ini OK",
    "Tesk Engine: Checks Complete", "Account: ", PublicTargetLine};

class QuenlarTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetUserState(setup); }

  // "<Suite>.<Test>-<n>": the n-th start of this test.
  std::string Start() {
    auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name =
        std::string(info->test_suite_name()) + "." + info->name() + "-" + std::to_string(++starts_);
    // A parameterised test's names hold slashes; artefacts are files of one folder.
    for (char& c : name)
      if (c == '/') c = '.';
    return name;
  }

  // A first start answered "&Yes", with the stand-in chosen as the game, ended by E&xit.
  std::vector<std::string> CompleteFirstRun(const std::string& gameExe = GameExe) {
    QuenlarRun run(setup, Start());
    run.AnswerFirstRunWithGame(gameExe);
    std::vector<std::string> log = run.WaitForScan();
    EXPECT_EQ(run.Exit(ExitBy::Button, {}), 0u);
    return log;
  }

  Installation setup = Installation::FromEnvironment();

 private:
  int starts_ = 0;
};

}  // namespace e2e
