// A game folder and a program folder of any name: chosen at the first start, stored,
// scanned clean at the next start and launched, whether the code page holds the names
// or not.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "core/sealing.h"
#include "core/settings_layout.h"
#include "game_client/contract.h"
#include "tests/support/simulated_machine.h"
#include "ui/ufrmQuenlar.h"

namespace {

constexpr auto HKCU = platform::RootKey::CurrentUser;

struct Folders {
  std::string game;     // the game executable chosen in the dialog (UTF-8)
  std::string stored;   // the bytes sealed into "Path"
  std::string program;  // the program's own executable (UTF-8)
};

void PrintTo(const Folders& f, std::ostream* out) { *out << f.game; }

class GameFolderTest : public ::testing::TestWithParam<Folders> {
 protected:
  platform::SimulatedMachine machine;
  platform::Services services = machine.services();

  std::vector<std::string> Start() {
    auto frm = std::make_unique<TfrmQuenlar>(services);
    frm->form().Show();
    machine.toolkit().RunFor(5000);
    std::vector<std::string> log = frm->mmoEvents->Lines();
    red = frm->mmoEvents->FontColor() == platform::colors::Red;
    if (play) {
      frm->btnPlay->Click();
      machine.toolkit().RunFor(600);
      polling = frm->tmrPoll->Enabled();
    }
    return log;
  }
  bool play = false;
  bool red = false;
  bool polling = false;
};

TEST_P(GameFolderTest, ChosenStoredScannedCleanAndLaunched) {
  const Folders& f = GetParam();
  const std::string folder = f.game.substr(0, f.game.size() - 8);
  machine.InstallGame(f.game);
  machine.files().AddFile(folder + "\\ftp.ini",
                          std::string("site=") + game_client::OfficialPatchSite + "\r\n");
  machine.process().SetExecutablePath(f.program);
  machine.toolkit().ScriptMessage(platform::MessageKind::Confirmation,
                                  "Is this the first time you have run Quenlar?",
                                  platform::MessageAnswer::Yes);
  machine.toolkit().ScriptOpenDialog(f.game);
  Start();
  // A path the code page holds is sealed exactly as it always was.
  EXPECT_EQ(machine.registry().Text(HKCU, settings::ProductKey, "Path"),
            SealText(machine.volume(), f.stored));
  platform::RegistryValue entry;
  ASSERT_EQ(machine.registry().ReadValueUtf8(HKCU, settings::RunKey, "Quenlar", entry),
            platform::RegStatus::Ok);
  EXPECT_EQ(entry.bytes, f.program);

  play = true;
  EXPECT_THAT(Start(),
              ::testing::IsSupersetOf({"Registry: User checks complete", "Executable: Checksum OK",
                                       "Autopatch: ftp.ini OK", "Tesk Engine: Checks Complete"}));
  EXPECT_FALSE(red);
  ASSERT_EQ(machine.games().count(), 1);
  EXPECT_EQ(machine.shell().calls().back().file, f.game);
  EXPECT_EQ(machine.shell().calls().back().directory, folder);
  EXPECT_TRUE(polling);
}

INSTANTIATE_TEST_SUITE_P(
    Names, GameFolderTest,
    ::testing::Values(
        Folders{"C:\\Games\\Mir\\mir.exe", "C:\\Games\\Mir\\mir.exe", "C:\\Quenlar\\Quenlar.exe"},
        Folders{"C:\\Spiele\\Mir Müll\\mir.exe", "C:\\Spiele\\Mir M\xFCll\\mir.exe",
                "C:\\Über\\Quenlar.exe"},
        Folders{"C:\\Игры\\Мир\\mir.exe", "C:\\Игры\\Мир\\mir.exe", "C:\\Программы\\Quenlar.exe"}));

}  // namespace
