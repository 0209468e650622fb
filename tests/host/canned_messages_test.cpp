#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/game_notices.h"
#include "game_client/contract.h"
#include "tests/host/main_window_support.h"

namespace main_window_test {
namespace {

using platform::MemoryMemo;
using platform::MemoryToolkit;
using ::testing::ElementsAre;

class CannedMessagesTest : public MainWindowTest {
 protected:
  void SetUp() override {
    Create();
    Scan();
  }
  void Fill(int count) {
    for (int i = 0; i < count; ++i)
      frm->state().messages.MessageSlots[i] = "line " + std::to_string(i);
  }
};

TEST_F(CannedMessagesTest, TheEditorShowsTheSlotsOneALineAndTakesBackWhatItHolds) {
  struct Case {
    const char* what;
    std::function<void(MemoryMemo&)> edit;
    std::vector<std::string> expected;  // the first four slots; the last one follows
    std::string last;
    std::string second = "line 1";  // a stored slot may hold a line break, put there from outside
  };
  const std::vector<Case> cases = {
      {"unchanged", [](MemoryMemo&) {}, {"line 0", "line 1", "line 2", "line 3"}, "line 25"},
      {"unchanged with a line break in a slot",
       [](MemoryMemo&) {},
       {"line 0", "two\r\nlines", "line 2", "line 3"},
       "line 25",
       "two\r\nlines"},
      {"third line deleted",
       [](MemoryMemo& memo) {
         auto lines = memo.Lines();
         lines.erase(lines.begin() + 2);
         std::string text;
         for (const auto& l : lines) text += l + "\r\n";
         memo.SetText(text);
       },
       {"line 0", "line 1", "line 3", "line 4"},
       ""},
      {"more lines than slots",
       [](MemoryMemo& memo) {
         memo.SelectAll();
         std::string text;
         for (int i = 0; i < 30; ++i) text += "x" + std::to_string(i) + "\r\n";
         memo.UserType(text);
       },
       {"x0", "x1", "x2", "x3"},
       "x25"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Fill(26);
    frm->state().messages.MessageSlots[1] = c.second;
    std::size_t shown = 0;
    toolkit.ScriptModal("Messaging", [&](platform::Form& f) {
      auto& memo = MemoryToolkit::Of(f).Nth<MemoryMemo>();
      shown = memo.Lines().size();
      c.edit(memo);
      f.Close();  // the title bar ends it as "&OK" does
    });
    ASSERT_TRUE(form().UserChooseMenu("&Options", "Messaging..."));
    EXPECT_GE(shown, 26u);
    const auto& slots = frm->state().messages.MessageSlots;
    EXPECT_EQ(std::vector<std::string>(slots.begin(), slots.begin() + 4), c.expected);
    EXPECT_EQ(slots[25], c.last);
  }
}

TEST_F(CannedMessagesTest, TheTargetTakesTheAnswerUnchangedAndIsLoggedEvenOnCancel) {
  frm->state().messages.MessageTarget = "Kael";
  toolkit.ScriptInput("Message Target", std::nullopt);
  toolkit.ScriptInput("Message Target", std::string("  "));
  toolkit.ScriptInput("Message Target", std::string(""));
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(form().UserChooseMenu("&Options", "Message Target..."));
  EXPECT_EQ(toolkit.inputBoxes()[0].prompt,
            "Please enter the name of the player you will be using");
  EXPECT_EQ(toolkit.inputBoxes()[0].text, "Kael");
  EXPECT_EQ(frm->state().messages.MessageTarget, "");
  auto log = LogLines();
  EXPECT_THAT(std::vector<std::string>(log.end() - 3, log.end()),
              ElementsAre("Message Target: Kael",
                          "Message Target:   ", "Message Target: <public message>"));
}

// The game takes 8-bit text: a chat line or target with a character beyond the code page
// is refused and asked for again as it was typed; what the code page holds is kept.
TEST_F(CannedMessagesTest, TextTheGameCannotReceiveIsRefusedAndKeptForTheFix) {
  const std::string cyrillic = "\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82";
  frm->state().messages.MessageSlots[1] = "caf\xe9";
  std::vector<std::string> shownAgain;
  toolkit.ScriptModal("Messaging", [&](platform::Form& f) {
    auto& memo = MemoryToolkit::Of(f).Nth<MemoryMemo>();
    memo.UserTypeUtf8(cyrillic);
    f.Close();
  });
  toolkit.ScriptMessage(platform::MessageKind::Information, CannotReceiveText("this chat line"),
                        platform::MessageAnswer::Ok);
  toolkit.ScriptModal("Messaging", [&](platform::Form& f) {
    auto& memo = MemoryToolkit::Of(f).Nth<MemoryMemo>();
    shownAgain = memo.LinesUtf8();
    memo.SetTextUtf8("hello\r\ncaf\xc3\xa9\r\n");
    f.Close();
  });
  ASSERT_TRUE(form().UserChooseMenu("&Options", "Messaging..."));
  ASSERT_GE(shownAgain.size(), 2u);
  EXPECT_EQ(shownAgain[0], cyrillic);
  EXPECT_EQ(shownAgain[1], "caf\xc3\xa9");
  EXPECT_EQ(frm->state().messages.MessageSlots[0], "hello");
  EXPECT_EQ(frm->state().messages.MessageSlots[1], "caf\xe9");

  frm->state().messages.MessageTarget = "Kael";
  for (const auto& [fix, target] :
       {std::pair<std::optional<std::string>, std::string>{"Lin", "Lin"}, {std::nullopt, "Lin"}}) {
    toolkit.ScriptInput("Message Target", cyrillic);
    toolkit.ScriptMessage(platform::MessageKind::Information, CannotReceiveText("this player name"),
                          platform::MessageAnswer::Ok);
    toolkit.ScriptInput("Message Target", fix);
    ASSERT_TRUE(form().UserChooseMenu("&Options", "Message Target..."));
    EXPECT_EQ(toolkit.inputBoxes().back().text, cyrillic);
    EXPECT_EQ(frm->state().messages.MessageTarget, target);
  }
  EXPECT_EQ(toolkit.UnusedScripts(), 0);
}

TEST_F(CannedMessagesTest, ABatchPostsTheLinesUntilAnEmptySlotOrTheLastLineOfTheBatch) {
  struct Case {
    int filled;
    bool enabled;
    std::size_t posted;
  };
  for (const Case& c :
       {Case{0, true, 0}, Case{3, true, 3}, Case{26, true, 25}, Case{3, false, 0}}) {
    SCOPED_TRACE(c.filled);
    frm->state().messages.MessageSlots = {};
    Fill(c.filled);
    frm->state().messages.MessageSlots[4] = "never reached";
    frm->state().messages.MessageCursor = 0;
    frm->mnuEnableMessaging->SetChecked(c.enabled);
    auto& game = GameInPlay();
    frm->StartMessageBatch();
    toolkit.RunFor(3000 * 27);
    EXPECT_FALSE(frm->tmrMessages->Enabled());
    const auto lines = game.ChatLines();
    ASSERT_EQ(lines.size(), c.posted);
    if (c.posted > 0) {
      EXPECT_EQ(lines.back(), "line " + std::to_string(c.posted - 1));
    }
    EXPECT_EQ(machine.desktop().clipboard(), std::optional<std::string>("player text"));
    game.Exit();
  }
}

TEST_F(CannedMessagesTest, WithoutTheChatLineTheSameSlotIsTriedAgain) {
  Fill(2);
  frm->StartMessageBatch();
  toolkit.RunFor(3000 * 3);  // no game at all
  EXPECT_EQ(frm->state().messages.MessageCursor, 0);
  EXPECT_TRUE(frm->tmrMessages->Enabled());
  // A main window whose chat line never opens: nothing is pasted, nothing counts.
  platform::WindowSpec mute;
  mute.className = game_client::GameWindowClass;
  mute.owner = machine.desktop().NewProcess();
  mute.rect = platform::SimulatedGameClient::Area;
  const auto window = machine.desktop().AddWindow(mute);
  toolkit.RunFor(3000 * 2);
  EXPECT_EQ(frm->state().messages.MessageCursor, 0);
  for (const auto& paste : machine.desktop().MessagesOfKind(platform::WindowMessageId::Paste))
    EXPECT_EQ(paste.owner, platform::ProgramProcess);  // only into its own hidden field
  machine.desktop().RemoveWindow(window);
  auto& game = GameInPlay();
  toolkit.RunFor(3000 * 3);
  EXPECT_THAT(game.ChatLines(), ElementsAre("line 0", "line 1"));
  EXPECT_TRUE(form().UserChooseMenu("&Options", "Enable Messaging"));
  EXPECT_FALSE(frm->mnuEnableMessaging->Checked());
}

}  // namespace
}  // namespace main_window_test
