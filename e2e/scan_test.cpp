// The integrity scan as a player meets it: the first run's setup, a clean start, findings
// after tampering, and acceptance of the findings on exit.
#include <gtest/gtest.h>

#include <strings.h>

#include <algorithm>

#include "e2e/e2e_test_support.h"
#include "game_client/contract.h"

namespace e2e {
namespace {

using Scan = QuenlarTest;

constexpr const char* RegistryQuestion =
    "Registry changes were detected!  Are you happy that the changes are not malicious?\n"
    "If you select \"YES\" the progam will accept the new changes!";
constexpr const char* ExecutableQuestion =
    "Executable changes were detected!  Have you upgraded Mir?\n"
    "If you select \"YES\" the progam will accept the new changes!";

// Width, height and the number of distinct colours of a 24-bit BMP file.
struct BmpFacts {
  int width = 0, height = 0;
  size_t colours = 0;
};

BmpFacts ReadBmp(const std::string& path) {
  std::string bytes = ReadFileBytes(path);
  BmpFacts facts;
  if (bytes.size() < 54 || bytes.compare(0, 2, "BM") != 0) return facts;
  auto header = reinterpret_cast<const BITMAPINFOHEADER*>(bytes.data() + 14);
  if (header->biBitCount != 24) return facts;
  Image image;
  image.width = header->biWidth;
  image.height = header->biHeight;
  size_t stride = (static_cast<size_t>(image.width) * 3 + 3) & ~size_t{3};
  if (bytes.size() < 54 + stride * image.height) return facts;
  for (int y = 0; y < image.height; ++y)
    image.bgr.insert(image.bgr.end(), bytes.begin() + 54 + y * stride,
                     bytes.begin() + 54 + y * stride + image.width * 3);
  return {image.width, image.height, image.DistinctColours()};
}

TEST_F(Scan, FirstRunSetsUpAndTheNextStartIsClean) {
  {
    QuenlarRun run(setup, Start());
    run.AnswerFirstRunWithGame();
    std::vector<std::string> log = run.WaitForScan();
    EXPECT_EQ(log, FirstRunLog) << Joined(log);
    EXPECT_EQ(run.ReadLogColour(LogColour::Black), LogColour::Black);
    auto own = ReadString(RunKey, OwnRunValue);
    ASSERT_TRUE(own) << "no autostart entry after the setup";
    EXPECT_EQ(strcasecmp(own->c_str(), setup.quenlarExe.c_str()), 0) << *own;
    auto path = ReadString(SettingsKey, "Path");
    ASSERT_TRUE(path);
    EXPECT_FALSE(path->empty());
    EXPECT_EQ(path->find("mir"), std::string::npos) << "the game path is stored unsealed";
    ASSERT_EQ(run.Exit(ExitBy::Button, {}), 0u);
  }

  QuenlarRun run(setup, Start());
  std::vector<std::string> log = run.WaitForScan();
  EXPECT_EQ(log, CleanScanLog) << Joined(log);
  EXPECT_EQ(run.Title(), "Quenlar - ");
  EXPECT_EQ(run.ReadLogColour(LogColour::Black), LogColour::Black);

  // The screenshot artefact shows the window, not an empty frame.
  RECT frame{};
  GetWindowRect(run.MainWindow(), &frame);
  BmpFacts shot = ReadBmp(run.screenshotPath());
  EXPECT_EQ(shot.width, frame.right - frame.left);
  EXPECT_EQ(shot.height, frame.bottom - frame.top);
  EXPECT_GE(shot.colours, 8u) << run.screenshotPath();

  EXPECT_EQ(run.Exit(ExitBy::Menu, {}), 0u);
}

TEST_F(Scan, TamperingIsReportedAndAcceptedOnExit) {
  CompleteFirstRun();

  WriteString(RunKey, PlantedRunValue, "C:\\evil.exe");
  std::string game = ReadFileBytes(GameExe);
  game[0x100] ^= 0x01;  // one bit of one byte pair: the 16-bit XOR changes
  WriteFileBytes(GameExe, game);
  std::string config = ReadFileBytes(GamePatcherConfig);
  std::string official = std::string("site=") + game_client::OfficialPatchSite;
  size_t site = config.find(official);
  ASSERT_NE(site, std::string::npos);
  WriteFileBytes(GamePatcherConfig, config.substr(0, site) + "site=patch.elsewhere.example" +
                                        config.substr(site + official.size()));
  WriteFileBytes(std::string(GameFolder) + "USER32.DLL", "");

  {
    QuenlarRun run(setup, Start());
    std::vector<std::string> log = run.WaitForScan();
    EXPECT_EQ(
        log,
        (std::vector<std::string>{
            "Registry: Warning - modifications detected!", "*** Modified entry - C:\\evil.exe",
            "Registry: Warning - modifications detected!", "Registry: Local checks complete",
            "Autostart: Startup places checks complete", "Executable: Warning - Checksum changed!",
            "Autopatch: ftp.ini modified!", "Tesk Engine: Found user32.dll inside C:\\Games\\Mir\\",
            "Account: ", PublicTargetLine}))
        << Joined(log);
    EXPECT_EQ(run.ReadLogColour(LogColour::Red), LogColour::Red);
    ASSERT_EQ(run.Exit(ExitBy::Button, {{RegistryQuestion, "&Yes"}, {ExecutableQuestion, "&Yes"}}),
              0u);
  }

  // The accepted changes stay; the other two are undone by hand.
  WriteFileBytes(GamePatcherConfig, config);
  DeleteFileIfPresent(std::string(GameFolder) + "USER32.DLL");
  QuenlarRun run(setup, Start());
  std::vector<std::string> log = run.WaitForScan();
  EXPECT_EQ(log, CleanScanLog) << Joined(log);
  EXPECT_EQ(run.ReadLogColour(LogColour::Black), LogColour::Black);
  EXPECT_EQ(run.Exit(ExitBy::Menu, {}), 0u);
}

// What a 32-bit program adds to the machine's autostart entries is found, accepted on exit
// and quiet afterwards, as in the machine's own view.
TEST_F(Scan, AnEntryInTheMachines32BitViewIsReportedAndAccepted) {
  CompleteFirstRun();
  WriteString(RunKey, PlantedRunValue, "C:\\evil32.exe", Hive::Machine32);
  {
    QuenlarRun run(setup, Start());
    std::vector<std::string> log = run.WaitForScan();
    std::vector<std::string> expected = CleanScanLog;
    expected.erase(expected.begin() + 1);  // no completion line for the machine
    expected.insert(expected.begin() + 1, {"Registry: Warning - modifications detected!",
                                           "*** Modified entry - C:\\evil32.exe",
                                           "Registry: Warning - modifications detected!"});
    EXPECT_EQ(log, expected) << Joined(log);
    EXPECT_EQ(run.ReadLogColour(LogColour::Red), LogColour::Red);
    ASSERT_EQ(run.Exit(ExitBy::Button, {{RegistryQuestion, "&Yes"}}), 0u);
  }
  QuenlarRun run(setup, Start());
  std::vector<std::string> log = run.WaitForScan();
  EXPECT_EQ(log, CleanScanLog) << Joined(log);
  EXPECT_EQ(run.Exit(ExitBy::Menu, {}), 0u);
}

constexpr const char* RunOnceKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* PolicyRunKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run";
constexpr const char* WinlogonKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

// One entry planted in a place programs start from beyond the Run keys: a value, or where
// `key` is nullptr, a program file in the hive's Startup folder (which starts itself).
struct Planting {
  const char* title;  // as the finding names the place
  Hive hive;
  const char* key;
  const char* name;
  const char* data;
};

// In the order the scan compares the places.
const Planting Plantings[] = {
    {"User RunOnce", Hive::User, RunOnceKey, PlantedRunValue, "C:\\once.exe"},
    {"Local RunOnce", Hive::Machine, RunOnceKey, PlantedRunValue, "C:\\once64.exe"},
    {"Local RunOnce (32-bit)", Hive::Machine32, RunOnceKey, PlantedRunValue, "C:\\once32.exe"},
    {"User policy Run", Hive::User, PolicyRunKey, PlantedRunValue, "C:\\policy.exe"},
    {"Local policy Run", Hive::Machine, PolicyRunKey, PlantedRunValue, "C:\\policy64.exe"},
    {"User Winlogon", Hive::User, WinlogonKey, "Shell", "explorer.exe,C:\\shell.exe"},
    // Wine's machine key holds Shell alone.
    {"Local Winlogon", Hive::Machine, WinlogonKey, "Userinit", "C:\\init.exe"},
    {"User Startup folder", Hive::User, nullptr, "planted.exe", nullptr},
    {"Common Startup folder", Hive::Machine, nullptr, "planted.exe", nullptr},
};

std::string FileOf(const Planting& p) { return StartupFolderPath(p.hive) + "\\" + p.name; }

// Gone when made and when ended, so that no run leaves a planted entry behind.
struct NothingPlanted {
  NothingPlanted() { Clear(); }
  ~NothingPlanted() { Clear(); }
  static void Clear() {
    for (const Planting& p : Plantings)
      p.key ? DeleteValue(p.key, p.name, p.hive) : DeleteFileIfPresent(FileOf(p));
  }
};

// Beyond the Run keys, an entry in every other place programs start from is found, and so
// is a patch of the game that keeps its 16-bit checksum (two bytes at even offsets, each
// with the same bit flipped, so the byte pairs' XOR stays): one start reports them all,
// the exit accepts them, and the next start is quiet.
TEST_F(Scan, EveryStartupPlaceAndAPatchKeepingTheChecksumAreReportedAndAccepted) {
  NothingPlanted cleared;
  CompleteFirstRun();

  // The two Run keys' lines, each place's added entry with its count, and the executable.
  std::vector<std::string> expected(CleanScanLog.begin(), CleanScanLog.begin() + 2);
  for (const Planting& p : Plantings) {
    p.key ? WriteString(p.key, p.name, p.data, p.hive) : WriteFileBytes(FileOf(p), "MZ");
    const std::string warning = std::string("Autostart: Warning - ") + p.title + " modified!";
    expected.insert(expected.end(),
                    {warning, "*** Modified entry - " + (p.key ? p.data : FileOf(p)), warning});
  }
  expected.push_back("Executable: Warning - Checksum changed!");
  expected.insert(expected.end(), CleanScanLog.begin() + 4, CleanScanLog.end());
  std::string game = ReadFileBytes(GameExe);
  game[0x100] ^= 0x01;
  game[0x102] ^= 0x01;
  WriteFileBytes(GameExe, game);

  {
    QuenlarRun run(setup, Start());
    std::vector<std::string> log = run.WaitForScan();
    EXPECT_EQ(log, expected) << Joined(log);
    EXPECT_EQ(run.ReadLogColour(LogColour::Red), LogColour::Red);
    ASSERT_EQ(run.Exit(ExitBy::Button, {{RegistryQuestion, "&Yes"}, {ExecutableQuestion, "&Yes"}}),
              0u);
  }
  QuenlarRun run(setup, Start());
  std::vector<std::string> log = run.WaitForScan();
  EXPECT_EQ(log, CleanScanLog) << Joined(log);
  EXPECT_EQ(run.Exit(ExitBy::Menu, {}), 0u);
}

}  // namespace
}  // namespace e2e
