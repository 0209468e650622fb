// The program's own process and the shell's open, as both backends must show them.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "contract_rig.h"

namespace {

using namespace platform;

template <typename Rig>
class ProcessContract : public ::testing::Test {
 protected:
  Rig rig;
};

TYPED_TEST_SUITE(ProcessContract, contract::ProcessRigs);

TYPED_TEST(ProcessContract, ThePathIsAFullPathAndPrioritiesGoUpAndBack) {
  const std::string path = this->rig.process().ExecutablePath();
  ASSERT_GT(path.size(), 7u);
  EXPECT_EQ(path.substr(1, 2), ":\\") << path;
  std::string extension = path.substr(path.size() - 4);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(extension, ".exe") << path;

  Process& process = this->rig.process();
  EXPECT_TRUE(process.SetPriorityClass(PriorityClass::Realtime));
  EXPECT_TRUE(process.SetThreadPriority(ThreadPriority::Highest));
  EXPECT_TRUE(process.SetPriorityClass(PriorityClass::Normal));
  EXPECT_TRUE(process.SetThreadPriority(ThreadPriority::Normal));
}

// The path names the running program itself, in a folder of any name.
TYPED_TEST(ProcessContract, ThePathNamesTheRunningProgram) {
  const std::string path = this->rig.process().ExecutablePath();
  EXPECT_EQ(this->rig.files().KindOf(path), EntryKind::File) << path;
  EXPECT_NE(this->rig.files().Open(path, FileAccess::Read, FileShare::ReadWrite), nullptr) << path;
}

TYPED_TEST(ProcessContract, TheTempFolderIsAFullFolderPathInTheExecutablesTerms) {
  const std::string temp = this->rig.process().TempDirectory();
  ASSERT_GT(temp.size(), 3u);
  EXPECT_EQ(temp.substr(1, 2), ":\\") << temp;
  EXPECT_EQ(temp.back(), '\\') << temp;
  EXPECT_NE(this->rig.process().ExecutablePath().rfind(temp, 0), 0u) << "the tests run from temp";
}

TYPED_TEST(ProcessContract, TheShellReportsAFileThatIsNotThere) {
  EXPECT_LE(this->rig.shell().Open(0, "C:\\no such folder\\nothing.exe", "", "", ShowNormal), 32);
  EXPECT_LE(this->rig.shell().Open(0, "C:\\Нет такой папки\\мир.exe", "", "", ShowNormal), 32);
}

// A program that is there starts: the shell answers above 32, which the launch takes for
// a game on its way.
TYPED_TEST(ProcessContract, TheShellStartsAProgramThatIsThere) {
  const std::string program = this->rig.StartableProgram();
  EXPECT_GT(this->rig.shell().Open(0, program, "/c exit", "", ShowNormal), 32) << program;
}

// Windows starts nothing from a path of MAX_PATH characters or more, although the file
// is there: the launch must say so rather than that the game is missing.
TYPED_TEST(ProcessContract, TheShellStartsNothingFromAPathBeyondMaxPath) {
  const std::string program = this->rig.ProgramAtALongPath();
  EXPECT_EQ(this->rig.files().KindOf(program), platform::EntryKind::File);
  const std::intptr_t result = this->rig.shell().Open(0, program, "/c exit", "", ShowNormal);
  EXPECT_TRUE(result == platform::shell_result::FileNotFound ||
              result == platform::shell_result::PathNotFound)
      << result;
}

}  // namespace
