// The stand-in game client takes text into its login field from another process and
// records it, which is what the credential fill relies on.
#include <gtest/gtest.h>

#include "e2e/e2e_test_support.h"
#include "game_client/contract.h"
#include "standin/transcript_format.h"

namespace e2e {
namespace {

using StandIn = QuenlarTest;

HWND WaitForLoginField(DWORD processId) {
  ULONGLONG deadline = GetTickCount64() + DefaultTimeoutMs;
  for (;;) {
    HWND field = WindowFromPoint(POINT{game_client::LoginPoint.x, game_client::LoginPoint.y});
    if (ClassOf(field) == game_client::FieldClass && ProcessOf(field) == processId) return field;
    if (GetTickCount64() >= deadline) throw DriverError("no login field at the login point");
    Pump(50);
  }
}

// The texts set into the login field by the run of this process, once the transcript has them.
std::vector<std::string> LoginTextsOf(DWORD processId, size_t wanted) {
  const std::string path = std::string(GameFolder) + "mir-transcript.txt";
  std::vector<std::string> texts;
  ULONGLONG deadline = GetTickCount64() + DefaultTimeoutMs;
  do {
    texts.clear();
    bool ours = false;
    for (const auto& event : transcript::ParseAll(FileExists(path) ? ReadFileBytes(path) : "")) {
      if (event.kind == "start")
        ours = event.fields.size() == 2 && event.fields[1] == std::to_string(processId);
      else if (ours && event.kind == "set" && event.fields.size() == 2 &&
               event.fields[0] == "login")
        texts.push_back(event.fields[1]);
    }
    if (texts.size() >= wanted) break;
    Pump(100);
  } while (GetTickCount64() < deadline);
  return texts;
}

TEST_F(StandIn, TakesLoginTextFromAnotherProcessAndRecordsIt) {
  Process game = Process::Start(GameExe, game_client::GameServerAddress, GameFolder);
  HWND login = WaitForLoginField(game.id());

  const std::string texts[] = {"Warrior", "with \"quotes\" and \\ and \x01\xff"};
  for (const std::string& text : texts) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(login, WM_SETTEXT, game_client::FieldTextCapacity,
                        reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000, &result);
    EXPECT_EQ(TextOf(login), text);
  }
  EXPECT_EQ(LoginTextsOf(game.id(), 2),
            (std::vector<std::string>(std::begin(texts), std::end(texts))));

  PostMessageA(GetAncestor(login, GA_ROOT), WM_CLOSE, 0, 0);
  EXPECT_EQ(game.WaitForExit(DefaultTimeoutMs), 0u);
}

}  // namespace
}  // namespace e2e
