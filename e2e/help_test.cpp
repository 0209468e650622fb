// The help window of the running program: opened from "&Help" and from the picture
// button, each page shown and kept as a screenshot, closed with "&Close".
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "e2e/e2e_test_support.h"

namespace e2e {
namespace {

using Help = QuenlarTest;

constexpr const char* HelpTitle = "Help Me";

HWND WaitForHelp(QuenlarRun& run) {
  return WaitForTopLevel(
      run.process().id(), [](HWND w) { return TextOf(w) == HelpTitle; }, "the help window");
}

int ActiveTab(HWND tabs) { return static_cast<int>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0)); }

// Arrow keys move between the tabs, as for a person with the tabs focused.
void StepTab(HWND tabs, WPARAM key, int expected) {
  PostMessageA(tabs, WM_KEYDOWN, key, 0);
  for (int i = 0; i < 100 && ActiveTab(tabs) != expected; ++i) Pump(50);
  ASSERT_EQ(ActiveTab(tabs), expected);
  Pump(300);  // let the page paint before the screenshot
}

void Screenshot(const Installation& setup, HWND window, const char* name) {
  SaveBmp(CaptureWindow(window), JoinPath(setup.artifacts, std::string("help-") + name + ".bmp"));
}

void CloseHelp(HWND help) {
  HWND close = FindChild(help, "Button", "&Close");
  ASSERT_NE(close, nullptr);
  PostClick(close);
  WaitUntilGone(help, "the help window");
}

TEST_F(Help, OpensOnPreventionFromHelpAndFromThePictureButton) {
  QuenlarRun run(setup, Start());
  run.AnswerFirstRunWithGame();
  run.WaitForScan();

  ChooseMenu(run.MainWindow(), {{"&Help"}});
  HWND help = WaitForHelp(run);
  HWND tabs = FindChild(help, WC_TABCONTROLA);
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(ActiveTab(tabs), 1) << "not opened on Prevention";
  EXPECT_FALSE(IsEnabled(run.MainWindow())) << "the help window is not modal";
  Pump(300);
  Screenshot(setup, help, "prevention");
  StepTab(tabs, VK_LEFT, 0);
  Screenshot(setup, help, "links");
  StepTab(tabs, VK_RIGHT, 1);
  StepTab(tabs, VK_RIGHT, 2);
  Screenshot(setup, help, "recovery");
  CloseHelp(help);

  // The picture button: pressed and released over it.
  HWND picture = FindDescendant(run.MainWindow(), [](HWND w) {
    RECT area{};
    GetClientRect(w, &area);
    return ClassOf(w) == "QuenlarControl" && area.right == 65 && area.bottom == 26;
  });
  ASSERT_NE(picture, nullptr);
  PostMessageA(picture, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  PostMessageA(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  PostMessageA(picture, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  help = WaitForHelp(run);
  EXPECT_EQ(ActiveTab(FindChild(help, WC_TABCONTROLA)), 1);
  CloseHelp(help);

  EXPECT_TRUE(IsEnabled(run.MainWindow()));
  EXPECT_EQ(run.Exit(ExitBy::Button, {}), 0u);
}

}  // namespace
}  // namespace e2e
