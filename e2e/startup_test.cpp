// Start-up and shut-down of quenlar.exe: the window, the first-time question, the scan's
// end, and the settings written back on exit.
#include <gtest/gtest.h>

#include "e2e/e2e_test_support.h"

namespace e2e {
namespace {

using Startup = QuenlarTest;

constexpr const char* RegistryQuestion =
    "Registry changes were detected!  Are you happy that the changes are not malicious?\n"
    "If you select \"YES\" the progam will accept the new changes!";

TEST_F(Startup, FirstStartDeniedThenExitThroughTheMenuSavesTheSettings) {
  QuenlarRun run(setup, Start());
  // The question holds the scan, so the title has not been refreshed yet.
  MessageBoxView question = WaitForMessageBox(run.process().id(), "Confirm");
  EXPECT_EQ(question.text, FirstRunQuestion);
  EXPECT_EQ(run.Title(), "Quenlar");
  EXPECT_FALSE(IsEnabled(run.Button("&Play")));

  // Denied for both scopes: reported as deleted protection entries, snapshots taken anew.
  for (int scope = 0; scope < 2; ++scope) {
    if (scope)
      run.Answer("Confirm", FirstRunQuestion, "&No");
    else
      Answer(question, "&No");
    run.Answer("Information", "Something has deleted the protection entries from the registry!",
               "OK");
  }
  std::vector<std::string> log = run.WaitForScan();
  EXPECT_EQ(
      log,
      (std::vector<std::string>{
          "Registry: Warning - Modifications detected!",
          "Registry: Warning - Modifications detected!", "Registry: User checks complete",
          "Registry: Local checks complete", "Autostart: Startup places checks complete",
          "Executable: Checksum not found in registry!",
          // No game was chosen: there is nothing to sum, and nothing is stored.
          "Executable: Warning - Cannot read the game executable!", "Autopatch: ftp.ini modified!",
          "Tesk Engine: Checks Complete", "Account: ", PublicTargetLine}))
      << Joined(log);
  EXPECT_EQ(run.Title(), "Quenlar - ");
  EXPECT_EQ(run.ReadLogColour(LogColour::Red), LogColour::Red);
  EXPECT_FALSE(ReadString(RunKey, OwnRunValue)) << "installed without a first run";

  EXPECT_EQ(run.Exit(ExitBy::Menu, {{RegistryQuestion, "&No"}}), 0u);
  EXPECT_EQ(ReadDword(AccessKey, "Acc"), 1u);
  EXPECT_EQ(ReadDword(AccessKey, "Stealth"), 0u);
  EXPECT_EQ(ReadDword(AccessKey, "Messaging"), 1u);
  EXPECT_EQ(ReadDword(AccessKey, "Online"), 0u);
  EXPECT_EQ(ReadDword(AccessKey, "Warning"), 0u);
  EXPECT_EQ(ReadString(AccessKey, "MessageTarget"), "");
  for (int slot = 0; slot <= 25; ++slot) {
    std::string name = "Message" + std::to_string(slot);
    EXPECT_EQ(ReadString(AccessKey, name), "") << name;
  }
}

// Another program may send any size of text to the program's windows; that ends nothing.
TEST_F(Startup, AnOversizedTextFromAnotherProgramEndsNothing) {
  CompleteFirstRun();
  QuenlarRun run(setup, Start());
  run.WaitForScan();
  const std::string huge(1 << 20, 'x');
  DWORD_PTR result = 0;
  SendMessageTimeoutA(FindMultiLineEdit(run.MainWindow()), WM_SETTEXT, 0,
                      reinterpret_cast<LPARAM>(huge.c_str()), SMTO_ABORTIFHUNG, 10000, &result);
  Pump(500);
  ASSERT_TRUE(run.process().Running());
  EXPECT_TRUE(IsWindowVisible(run.MainWindow()));
  EXPECT_EQ(run.Exit(ExitBy::Menu, {}), 0u);
}

}  // namespace
}  // namespace e2e
