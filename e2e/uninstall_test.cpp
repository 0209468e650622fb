// "Uninstall..." from the running program: the question, the removal, the end.
#include <gtest/gtest.h>

#include "e2e/e2e_test_support.h"

namespace e2e {
namespace {

using Uninstall = QuenlarTest;

// "Uninstall..." has no access key: the second item of "&Menu" after "&Reset Config...".
const std::vector<MenuStep> UninstallItem = {{"&Menu"}, {"Uninstall...", 1}};

TEST_F(Uninstall, RemovesSettingsAndAutostartEntryAndEnds) {
  CompleteFirstRun();
  ASSERT_TRUE(KeyExists(SettingsKey));
  ASSERT_TRUE(ReadString(RunKey, OwnRunValue));

  QuenlarRun run(setup, Start());
  run.WaitForScan();
  ChooseMenu(run.MainWindow(), UninstallItem);
  run.Answer("Confirm", "Are you sure?", "&No");
  Pump(500);
  EXPECT_TRUE(run.process().Running()) << "a denied uninstall ended the program";
  EXPECT_TRUE(KeyExists(SettingsKey));

  ChooseMenu(run.MainWindow(), UninstallItem);
  run.Answer("Confirm", "Are you sure?", "&Yes");
  run.Answer("Information", "Uninstall complete!", "OK");
  EXPECT_EQ(run.WaitForEnd(), 0u);
  EXPECT_FALSE(KeyExists(SettingsKey)) << "the settings were written back after the uninstall";
  EXPECT_FALSE(ReadString(RunKey, OwnRunValue));
}

}  // namespace
}  // namespace e2e
