// The per-user installer and its uninstaller, run silently as a scripted install runs them.
#include <gtest/gtest.h>

#include "e2e/e2e_test_support.h"

namespace e2e {
namespace {

constexpr const char* UninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quenlar";
constexpr const char* OtherFolder = "C:\\Players Own\\Quenlar";

class Installer : public QuenlarTest {
 protected:
  void SetUp() override {
    QuenlarTest::SetUp();
    setup.quenlarExe = exe;  // the runs start the installed program
    for (const std::string& dir : {folder, std::string(OtherFolder)}) {
      ClearDirectory(dir);  // whatever a failed run left
      RemoveDirectoryA(dir.c_str());
    }
    DeleteFileIfPresent(shortcut);
    DeleteKeyTree(UninstallKey);
  }

  DWORD Setup(const std::string& arguments) {
    return RunWithDescendants(WindowsPath(RequiredEnvironment("QUENLAR_SETUP_EXE")), arguments,
                              60000);
  }
  // What "Installed apps" runs (the quoted uninstaller), with a scripted removal's arguments.
  DWORD Uninstall(const std::string& arguments) {
    std::string command = ReadString(UninstallKey, "UninstallString").value_or("\"\"");
    return RunWithDescendants(command.substr(1, command.size() - 2), arguments, 60000);
  }

  std::string folder = RequiredEnvironment("LOCALAPPDATA") + "\\Programs\\Quenlar";
  std::string exe = folder + "\\quenlar.exe";
  std::string shortcut =
      RequiredEnvironment("APPDATA") + "\\Microsoft\\Windows\\Start Menu\\Programs\\Quenlar.lnk";
};

TEST_F(Installer, InstallsRunsUpdatesAndUninstallsForTheUserAlone) {
  ASSERT_EQ(Setup("/S"), 0u);
  for (const char* name : {"quenlar.exe", "README.txt", "LICENSE.txt", "Uninstall.exe"})
    EXPECT_TRUE(FileExists(JoinPath(folder, name))) << name;
  EXPECT_TRUE(FileExists(shortcut));
  const std::pair<const char*, std::string> registration[] = {
      {"DisplayName", "Quenlar"},
      {"DisplayVersion", RequiredEnvironment("QUENLAR_VERSION")},
      {"Publisher", "the Quenlar developers"},
      {"DisplayIcon", exe + ",0"},
      {"InstallLocation", folder},
      {"UninstallString", "\"" + folder + "\\Uninstall.exe\""}};
  for (const auto& [name, value] : registration)
    EXPECT_EQ(ReadString(UninstallKey, name), value) << name;
  EXPECT_EQ(ReadDword(UninstallKey, "NoModify"), 1u);
  EXPECT_GT(ReadDword(UninstallKey, "EstimatedSize").value_or(0), 0u);

  EXPECT_EQ(CompleteFirstRun(), FirstRunLog);
  EXPECT_EQ(ReadString(RunKey, OwnRunValue), exe);
  // Installed again over itself: the program replaced, the settings as they were. While the
  // program runs, the installer leaves it alone and says so in its exit code.
  ASSERT_EQ(Setup("/S"), 0u);
  {
    QuenlarRun run(setup, Start());
    EXPECT_EQ(run.WaitForScan(), CleanScanLog);
    EXPECT_EQ(Setup("/S"), 2u);
    EXPECT_EQ(run.Exit(ExitBy::Button, {}), 0u);
  }

  ASSERT_EQ(Uninstall("/S"), 0u);
  EXPECT_FALSE(FileExists(folder));
  EXPECT_FALSE(FileExists(shortcut));
  EXPECT_FALSE(KeyExists(UninstallKey));
  EXPECT_TRUE(KeyExists(SettingsKey)) << "the settings went without being asked";
  EXPECT_EQ(ReadString(RunKey, OwnRunValue), exe);

  // Elsewhere, then removed with the settings: nothing of the program stays in the registry.
  ASSERT_EQ(Setup(std::string("/S /D=") + OtherFolder), 0u);
  EXPECT_EQ(ReadString(UninstallKey, "InstallLocation"), OtherFolder);
  ASSERT_EQ(Uninstall("/S /REMOVESETTINGS"), 0u);
  EXPECT_FALSE(KeyExists(SettingsKey));
  EXPECT_FALSE(ReadString(RunKey, OwnRunValue));
  EXPECT_FALSE(KeyExists(UninstallKey));
  EXPECT_FALSE(FileExists(OtherFolder));
}

}  // namespace
}  // namespace e2e
