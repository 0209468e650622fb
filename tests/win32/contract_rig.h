// The Win32 backend's rigs for the shared contract suites in tests/contract.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32/win32_autostart.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_process.h"
#include "platform/win32/win32_protection.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_toolkit.h"
#include "platform/win32/win32_wide.h"
#include "tests/win32/scratch.h"
#include "tests/win32/ui_pump.h"

namespace contract {

class Win32RegistryRig {
 public:
  platform::Registry& registry() { return registry_; }
  std::string Key(const std::string& child) const { return scratch_.Child(child); }

 private:
  scratch::RegistryKey scratch_;
  platform::win32::Win32Registry registry_;
};

class Win32FilesRig {
 public:
  static constexpr std::uint32_t ReadOnlyAttribute = FILE_ATTRIBUTE_READONLY;
  static constexpr std::uint32_t HiddenAttribute = FILE_ATTRIBUTE_HIDDEN;
  static constexpr std::uint32_t SystemAttribute = FILE_ATTRIBUTE_SYSTEM;

  platform::Files& files() { return files_; }
  std::string Child(const std::string& name) const { return folder_.Child(name); }
  std::string Write(const std::string& name, const std::string& bytes) {
    return folder_.Write(name, bytes);
  }
  std::string MakeDirectory(const std::string& name) { return folder_.MakeDirectory(name); }
  void SetAttributes(const std::string& path, std::uint32_t attributes) {
    EXPECT_TRUE(SetFileAttributesW(platform::win32::WideFromUtf8(path).c_str(), attributes))
        << path;
  }
  std::unique_ptr<scratch::Holder> Hold(const std::string& path, platform::FileAccess access,
                                        platform::FileShare share) {
    DWORD rights = GENERIC_READ, sharing = 0;
    if (access == platform::FileAccess::ReadWrite) rights |= GENERIC_WRITE;
    if (share != platform::FileShare::None) sharing |= FILE_SHARE_READ;
    if (share == platform::FileShare::ReadWrite) sharing |= FILE_SHARE_WRITE;
    auto hold = std::make_unique<scratch::Holder>(path, rights, sharing);
    return hold->ok() ? std::move(hold) : nullptr;
  }

 private:
  scratch::Folder folder_;
  platform::win32::Win32Files files_;
};

class Win32SystemRig {
 public:
  platform::Volume& volume() { return volume_; }
  platform::Cursor& cursor() { return cursor_; }
  platform::Random& random() { return random_; }
  platform::Digests& digests() { return digests_; }
  platform::UserProtection& protection() { return protection_; }

 private:
  platform::win32::Win32Volume volume_;
  platform::win32::Win32Cursor cursor_;
  platform::win32::Win32Random random_;
  platform::win32::Win32Digests digests_;
  platform::win32::Win32UserProtection protection_;
};

// The system's clock: time passes while the test waits.
class Win32ClockRig {
 public:
  platform::Clock& clock() { return clock_; }

 private:
  platform::win32::Win32Clock clock_;
};

// The real toolkit on the Wine desktop: time passes while pumping, the player's part is
// played by messages sent to the windows, and dialogs are answered once they appear.
// A thread with an edit that handles nothing until released; then it takes what is
// waiting for it and ends.
struct HungThread {
  HungThread() {
    thread = std::thread([this] {
      window = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
      SetEvent(ready);
      WaitForSingleObject(release, INFINITE);
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
      char buffer[256] = {};
      GetWindowTextA(window, buffer, sizeof buffer);
      text = buffer;
      DestroyWindow(window);
    });
    WaitForSingleObject(ready, INFINITE);
  }
  ~HungThread() {
    if (thread.joinable()) Release();
    CloseHandle(ready);
    CloseHandle(release);
  }
  std::string Release() {
    SetEvent(release);
    thread.join();
    return text;
  }

  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HWND window = nullptr;
  std::string text;
  std::thread thread;
};

class Win32ToolkitRig {
 public:
  platform::Toolkit& toolkit() { return toolkit_; }
  platform::Desktop& desktop() { return desktop_; }
  platform::Clock& clock() { return clock_; }

  void Pass(int ms) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms);
    ui_pump::PumpUntil(toolkit_, [end] { return GetTickCount64() >= end; });
  }
  bool PassUntil(const std::function<bool()>& done) { return ui_pump::PumpUntil(toolkit_, done); }

  // An edit of another thread that has stopped handling its messages, as a hung game's
  // field; ReleaseHungWindow lets the thread take its messages again and gives the text
  // the edit then holds.
  platform::WindowHandle MakeHungWindow() {
    hung_ = std::make_unique<HungThread>();
    return reinterpret_cast<platform::WindowHandle>(hung_->window);
  }
  std::string ReleaseHungWindow() {
    std::string text = hung_->Release();
    hung_.reset();
    return text;
  }
  void WhenModal(const std::string& caption, std::function<void()> act) {
    watchers_.push_back(std::make_unique<ui_pump::WhenShown>(toolkit_, "QuenlarForm", caption,
                                                             [act](HWND) { act(); }));
  }
  void AnswerMessage(platform::MessageKind kind, platform::MessageAnswer answer) {
    const char* title = kind == platform::MessageKind::Confirmation ? "Confirm"
                        : kind == platform::MessageKind::Error      ? "Error"
                                                                    : "Information";
    const int button = answer == platform::MessageAnswer::Yes  ? IDYES
                       : answer == platform::MessageAnswer::No ? IDNO
                                                               : IDOK;
    watchers_.push_back(
        std::make_unique<ui_pump::WhenShown>(toolkit_, "#32770", title, [this, button](HWND box) {
          answered_ = platform::win32::WindowText(GetDlgItem(box, 65535));
          SendMessageA(GetDlgItem(box, button), BM_CLICK, 0, 0);
        }));
  }
  // The text of the last box answered through AnswerMessage; "" for none.
  std::string AnsweredText() { return answered_; }
  // The player's click on a button: the button's own message, handled in turn.
  void ClickAsPlayer(platform::Button& button) {
    PostMessageA(ui_pump::ToHwnd(button.Handle()), BM_CLICK, 0, 0);
  }
  bool TakesInput(platform::Form& form) {
    return IsWindowEnabled(ui_pump::ToHwnd(form.Handle())) != FALSE;
  }
  // The next input box with this title: `text` typed and Enter, or Escape for nullopt.
  void AnswerInput(const std::string& title, std::optional<std::string> text) {
    watchers_.push_back(
        std::make_unique<ui_pump::WhenShown>(toolkit_, "QuenlarForm", title, [text](HWND box) {
          HWND edit = FindWindowExA(box, nullptr, "Edit", nullptr);
          if (!text) {
            PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
            return;
          }
          const std::wstring typed = platform::win32::WideFromUtf8(*text);
          if (edit) SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
          PostMessageA(FindWindowExA(box, nullptr, "Button", "OK"), BM_CLICK, 0, 0);
        }));
  }
  // The next open dialog with this title: `path` typed and Open, or Cancel for nullopt.
  void AnswerOpenDialog(const std::string& title, std::optional<std::string> path) {
    watchers_.push_back(
        std::make_unique<ui_pump::WhenShown>(toolkit_, "#32770", title, [path](HWND dialog) {
          if (path) {
            constexpr int FileNameCombo = 0x47c;
            const std::wstring name = platform::win32::WideFromUtf8(*path);
            SendMessageW(GetDlgItem(dialog, FileNameCombo), WM_SETTEXT, 0,
                         reinterpret_cast<LPARAM>(name.c_str()));
          }
          PostMessageA(dialog, WM_COMMAND, path ? IDOK : IDCANCEL, 0);
        }));
  }
  // This test program itself.
  std::string AnExistingFile() {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    return self;
  }
  // A file made in a scratch folder of this name (UTF-8, made if missing).
  std::string AFileInAFolder(const std::string& folder, const std::string& name) {
    std::string path = scratch_.path();
    std::size_t start = 0;
    while (start <= folder.size()) {
      const std::size_t end = std::min(folder.find('\\', start), folder.size());
      path.append(1, '\\').append(folder, start, end - start);
      CreateDirectoryW(platform::win32::WideFromUtf8(path).c_str(), nullptr);
      start = end + 1;
    }
    return scratch_.Write(path.substr(scratch_.path().size() + 1) + "\\" + name, "MZ");
  }

  // The player typing UTF-8 text into a field: its characters, as the keyboard gives them.
  void TypeAsPlayer(platform::Edit& field, const std::string& text) {
    HWND window = ui_pump::ToHwnd(field.Handle());
    SetFocus(window);
    for (wchar_t unit : platform::win32::WideFromUtf8(text))
      PostMessageW(window, WM_CHAR, static_cast<WPARAM>(unit), 1);
    Pass(100);
  }
  // A key pressed with the focus in `field`, through the message loop's dialog keys.
  void PressKey(platform::Form& /*form*/, platform::Control& field, int key) {
    HWND window = ui_pump::ToHwnd(field.Handle());
    SetFocus(window);
    PostMessageA(window, WM_KEYDOWN, static_cast<WPARAM>(key), 0);
    PostMessageA(window, WM_KEYUP, static_cast<WPARAM>(key), 0);
    Pass(100);
  }
  // The left button's messages, as the pointer over a speed or picture button sends them.
  void Press(platform::Control& button, platform::Point at) {
    held_ = true;
    Send(button, WM_LBUTTONDOWN, MK_LBUTTON, at);
  }
  void MoveTo(platform::Control& button, platform::Point at) {
    Send(button, WM_MOUSEMOVE, held_ ? MK_LBUTTON : 0, at);
  }
  void Release(platform::Control& button, platform::Point at) {
    held_ = false;
    Send(button, WM_LBUTTONUP, 0, at);
  }
  void Leave(platform::Control& button) {
    SendMessageA(ui_pump::ToHwnd(button.Handle()), WM_MOUSELEAVE, 0, 0);
  }
  bool Captured(platform::Control& button) {
    return GetCapture() == ui_pump::ToHwnd(button.Handle());
  }

 private:
  std::string answered_;
  std::unique_ptr<HungThread> hung_;
  static void Send(platform::Control& button, UINT message, WPARAM keys, platform::Point at) {
    SendMessageA(ui_pump::ToHwnd(button.Handle()), message, keys,
                 MAKELPARAM(static_cast<WORD>(at.x), static_cast<WORD>(at.y)));
  }

  platform::win32::Win32Cursor cursor_;
  platform::win32::Win32Toolkit toolkit_{cursor_};
  scratch::Folder scratch_;
  platform::win32::Win32Desktop desktop_;
  platform::win32::Win32Clock clock_;
  bool held_ = false;
  // Their timers belong to the toolkit: gone before it.
  std::vector<std::unique_ptr<ui_pump::WhenShown>> watchers_;
};

class Win32ProcessRig {
 public:
  platform::Process& process() { return process_; }
  platform::Shell& shell() { return shell_; }
  platform::Files& files() { return files_; }
  // A program that is there and ends by itself when started with "/c exit".
  std::string StartableProgram() {
    char folder[MAX_PATH] = {};
    GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\cmd.exe";
  }
  // The same program copied to a path of more than 300 characters (made through the
  // long-path prefix, which the shell does not take).
  std::string ProgramAtALongPath() {
    std::wstring path = L"\\\\?\\" + platform::win32::WideFromUtf8(scratch_.path());
    for (wchar_t letter : std::wstring(L"defgh")) {
      path += L"\\" + std::wstring(60, letter);
      CreateDirectoryW(path.c_str(), nullptr);
    }
    path += L"\\cmd.exe";
    CopyFileW(platform::win32::WideFromUtf8(StartableProgram()).c_str(), path.c_str(), FALSE);
    return platform::win32::Utf8FromWide(path.substr(4));
  }

 private:
  platform::win32::Win32Process process_;
  platform::win32::Win32Shell shell_;
  platform::win32::Win32Files files_;
  scratch::Folder scratch_;
};

using RegistryRigs = ::testing::Types<Win32RegistryRig>;
using FilesRigs = ::testing::Types<Win32FilesRig>;
using SystemRigs = ::testing::Types<Win32SystemRig>;
using ToolkitRigs = ::testing::Types<Win32ToolkitRig>;
using ClockRigs = ::testing::Types<Win32ClockRig>;
using ProcessRigs = ::testing::Types<Win32ProcessRig>;

}  // namespace contract
