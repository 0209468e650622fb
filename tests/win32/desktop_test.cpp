#include "platform/win32/win32_desktop.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_process.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_toolkit.h"
#include "platform/win32/win32_wide.h"
#include "tests/win32/ui_pump.h"

namespace {

using namespace platform;
using ui_pump::ToHwnd;

class UiDesktop : public ::testing::Test {
 protected:
  UiDesktop() {
    FormSpec spec;
    spec.caption = "Desktop test";
    spec.clientWidth = 300;
    spec.clientHeight = 120;
    form_ = toolkit_.CreateForm(spec);
  }

  // Copies `from`'s text to the clipboard and pastes it over `to`'s, as the chat
  // companions do.
  std::string RoundTrip(Edit& from, Edit& to, const std::string& text) {
    from.SetText(text);
    from.SelectAll();
    desktop_.PostCopy(from.Handle());
    toolkit_.ProcessMessages();
    to.SetText("old");
    to.SelectAll();
    desktop_.PostPaste(to.Handle());
    toolkit_.ProcessMessages();
    return to.Text();
  }

  win32::Win32Cursor cursor_;
  win32::Win32Toolkit toolkit_{cursor_};
  win32::Win32Desktop desktop_;
  std::unique_ptr<Form> form_;
};

TEST_F(UiDesktop, PostedMessagesWaitInTheQueueWithTheirParameters) {
  Edit& edit = form_->AddEdit({{20, 20, 200, 21}, "", 0});
  HWND window = ToHwnd(edit.Handle());
  desktop_.PostKeyDown(edit.Handle(), VK_RETURN);
  desktop_.PostKeyUp(edit.Handle(), VK_RETURN);
  desktop_.PostCopy(edit.Handle());
  desktop_.PostPaste(edit.Handle());
  MSG message;
  for (UINT expected : {WM_KEYDOWN, WM_KEYUP, WM_COPY, WM_PASTE}) {
    ASSERT_TRUE(PeekMessageA(&message, window, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, expected);
    EXPECT_EQ(message.lParam, 0);
    if (expected == WM_KEYDOWN || expected == WM_KEYUP) {
      EXPECT_EQ(message.wParam, static_cast<WPARAM>(VK_RETURN));
    }
  }
  // Posting to no window must not land in this thread's own queue.
  desktop_.PostKeyDown(0, VK_RETURN);
  desktop_.PostPaste(0);
  EXPECT_FALSE(PeekMessageA(&message, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
}

// A window's process runs this test program: its file, as the system names it.
TEST_F(UiDesktop, AWindowsProcessImageIsItsProgramsFile) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  win32::Win32Files files;
  EXPECT_TRUE(files.SameFile(desktop_.ProcessImage(form_->Handle()), win32::Utf8FromWide(self)));
  EXPECT_EQ(desktop_.ProcessImage(0), "");
}

TEST(Win32Clock, DaysSinceTheEndOf1899) {
  EXPECT_DOUBLE_EQ(win32::ToDateTime(1899, 12, 30, 0, 0, 0, 0), 0.0);
  EXPECT_DOUBLE_EQ(win32::ToDateTime(1899, 12, 29, 18, 0, 0, 0), -0.25);
  EXPECT_DOUBLE_EQ(win32::ToDateTime(2000, 1, 1, 12, 0, 0, 0), 36526.5);
  EXPECT_DOUBLE_EQ(win32::ToDateTime(2024, 2, 29, 6, 0, 0, 0), 45351.25);
}

TEST(Win32Process, PathAndPriorities) {
  win32::Win32Process process;
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  EXPECT_EQ(process.ExecutablePath(), self);

  EXPECT_TRUE(process.SetPriorityClass(PriorityClass::Realtime));
  EXPECT_TRUE(process.SetThreadPriority(ThreadPriority::Highest));
  EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_HIGHEST);
  EXPECT_TRUE(process.SetPriorityClass(PriorityClass::Normal));
  EXPECT_TRUE(process.SetThreadPriority(ThreadPriority::Normal));
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
  EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_NORMAL);
}

}  // namespace
