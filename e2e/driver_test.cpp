// The driver against a window of its own, so that a fault of the driver shows apart from a
// fault of Quenlar.
#include <gtest/gtest.h>

#include "e2e/driver.h"

namespace e2e {
namespace {

class Driver : public ::testing::Test {
 protected:
  void SetUp() override {
    exe = WindowsPath(RequiredEnvironment("E2E_FIXTURE_EXE"));
    app = Process::Start(exe, "", "");
    window = WaitForTopLevel(
        app.id(), [](HWND w) { return TextOf(w) == "Driver Fixture"; }, "the fixture window");
  }

  std::vector<std::string> LogLines() { return Lines(TextOf(FindMultiLineEdit(window))); }

  void AnswerGreeting(const std::string& button) {
    MessageBoxView box = WaitForMessageBox(app.id(), "Greeting");
    EXPECT_EQ(box.text, "Hello");
    Answer(box, button);
  }

  std::string exe;
  Process app;
  HWND window = nullptr;
};

TEST_F(Driver, MenuAccessKeysButtonsAndMessageBoxes) {
  ChooseMenu(window, {{"&File"}, {"&Greet"}});
  AnswerGreeting("&No");
  PostClick(FindChild(window, "Button", "&Greet"));
  AnswerGreeting("&Yes");
  EXPECT_EQ(LogLines(), (std::vector<std::string>{"answer: no", "answer: yes"}));
  EXPECT_THROW(Answer(MessageBoxView{window, "", ""}, "&Maybe"), DriverError);
}

TEST_F(Driver, MenuItemByPositionAndTheOpenDialog) {
  ChooseMenu(window, {{"&File"}, {"Open...", 1}});
  ChooseFileInOpenDialog(app.id(), "Pick a File", exe);
  EXPECT_EQ(LogLines(), (std::vector<std::string>{"chosen: " + exe}));
}

TEST_F(Driver, MissingItemClosesThePopupAndAGreyedItemIsEnabledByItsPopup) {
  EXPECT_THROW(ChooseMenu(window, {{"&File"}, {"&Nothing"}}), DriverError);
  EXPECT_THROW(ChooseMenu(window, {{"&File"}, {"No key"}}), DriverError);
  // "E&xit" is greyed until the popup's WM_INITMENUPOPUP: it works only if the menu was
  // really opened, and only if no popup was left open above.
  ChooseMenu(window, {{"&File"}, {"E&xit"}});
  EXPECT_EQ(app.WaitForExit(DefaultTimeoutMs), 3u);
}

}  // namespace
}  // namespace e2e
