// The per-user installer and its uninstaller, run silently as a scripted install runs them.
#include <gtest/gtest.h>
#include <shlobj.h>

#include "e2e/e2e_test_support.h"

namespace e2e {
namespace {

constexpr const char* UninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quenlar";
constexpr DWORD SetupTimeoutMs = 60000;

std::string KnownFolder(int csidl) {
  char path[MAX_PATH];
  if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, 0, path)))
    throw DriverError("no known folder " + std::to_string(csidl));
  return path;
}

std::string Quoted(const std::string& text) {
  std::string quoted(1, '"');
  quoted += text;
  quoted += '"';
  return quoted;
}

void RemoveFolder(const std::string& path) {
  ClearDirectory(path);
  RemoveDirectoryA(path.c_str());
}

class Installer : public QuenlarTest {
 protected:
  void SetUp() override {
    QuenlarTest::SetUp();
    Forget();  // whatever a failed run left
  }
  void TearDown() override { Forget(); }

  void Forget() {
    RemoveFolder(folder);
    RemoveFolder(OtherFolder);
    DeleteFileIfPresent(shortcut);
    DeleteKeyTree(UninstallKey);
  }

  DWORD Setup(const std::string& arguments) {
    return RunWithDescendants(setupExe, arguments, SetupTimeoutMs);
  }
  // What "Installed apps" runs, with the arguments of a scripted removal.
  DWORD Uninstall(const std::string& arguments) {
    std::string command = ReadString(UninstallKey, "UninstallString").value_or("");
    if (command.size() < 2 || command.front() != '"' || command.back() != '"')
      throw DriverError("no quoted uninstall command: " + command);
    return RunWithDescendants(command.substr(1, command.size() - 2), arguments, SetupTimeoutMs);
  }

  // A start of the installed program, answering the first-time question when asked.
  std::vector<std::string> StartInstalled(const std::string& exe, bool first) {
    Installation installed = setup;
    installed.quenlarExe = exe;
    QuenlarRun run(installed, Start());
    if (first) run.AnswerFirstRunWithGame();
    std::vector<std::string> log = run.WaitForScan();
    EXPECT_EQ(run.Exit(ExitBy::Button, {}), 0u);
    return log;
  }

  const std::string OtherFolder = "C:\\Players Own\\Quenlar";
  std::string setupExe = WindowsPath(RequiredEnvironment("QUENLAR_SETUP_EXE"));
  std::string version = RequiredEnvironment("QUENLAR_VERSION");
  std::string folder = JoinPath(KnownFolder(CSIDL_LOCAL_APPDATA), "Programs\\Quenlar");
  std::string shortcut = JoinPath(KnownFolder(CSIDL_PROGRAMS), "Quenlar.lnk");
};

TEST_F(Installer, InstallsForTheUserRunsAndUninstallsKeepingTheSettings) {
  ASSERT_EQ(Setup("/S"), 0u);
  const std::string exe = JoinPath(folder, "quenlar.exe");
  for (const char* name : {"quenlar.exe", "README.txt", "LICENSE.txt", "Uninstall.exe"})
    EXPECT_TRUE(FileExists(JoinPath(folder, name))) << name;
  EXPECT_TRUE(FileExists(shortcut));
  const std::pair<const char*, std::string> registration[] = {
      {"DisplayName", "Quenlar"},
      {"DisplayVersion", version},
      {"Publisher", "the Quenlar developers"},
      {"DisplayIcon", exe + ",0"},
      {"InstallLocation", folder},
      {"UninstallString", Quoted(JoinPath(folder, "Uninstall.exe"))}};
  for (const auto& [name, value] : registration)
    EXPECT_EQ(ReadString(UninstallKey, name), value) << name;
  EXPECT_EQ(ReadDword(UninstallKey, "NoModify"), 1u);
  EXPECT_GT(ReadDword(UninstallKey, "EstimatedSize").value_or(0), 0u);

  EXPECT_EQ(StartInstalled(exe, true), FirstRunLog);
  EXPECT_EQ(ReadString(RunKey, OwnRunValue), exe);

  // Installed again over itself: the program replaced, the settings as they were.
  ASSERT_EQ(Setup("/S"), 0u);
  EXPECT_EQ(StartInstalled(exe, false), CleanScanLog);

  ASSERT_EQ(Uninstall("/S"), 0u);
  EXPECT_FALSE(FileExists(folder));
  EXPECT_FALSE(FileExists(shortcut));
  EXPECT_FALSE(KeyExists(UninstallKey));
  EXPECT_TRUE(KeyExists(SettingsKey)) << "the settings went without being asked";
  EXPECT_EQ(ReadString(RunKey, OwnRunValue), exe);
}

TEST_F(Installer, UninstallAskedToRemoveTheSettingsLeavesNoneOfThem) {
  ASSERT_EQ(Setup("/S /D=" + OtherFolder), 0u);
  const std::string exe = JoinPath(OtherFolder, "quenlar.exe");
  EXPECT_EQ(ReadString(UninstallKey, "InstallLocation"), OtherFolder);
  StartInstalled(exe, true);
  ASSERT_TRUE(KeyExists(SettingsKey));

  ASSERT_EQ(Uninstall("/S /REMOVESETTINGS"), 0u);
  EXPECT_FALSE(KeyExists(SettingsKey));
  EXPECT_FALSE(ReadString(RunKey, OwnRunValue));
  EXPECT_FALSE(KeyExists(UninstallKey));
  EXPECT_FALSE(FileExists(OtherFolder));
  EXPECT_FALSE(FileExists(shortcut));
}

}  // namespace
}  // namespace e2e
