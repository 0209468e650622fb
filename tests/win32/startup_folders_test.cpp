// What the system itself gives for the startup places and the game's fingerprint.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/win32_autostart.h"

namespace {

using namespace platform;

std::wstring UserStartupFolder() {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_STARTUP | CSIDL_FLAG_CREATE, nullptr,
                              SHGFP_TYPE_CURRENT, path)))
    return {};
  return std::wstring(path) + L"\\";
}

bool WriteShortcut(const std::wstring& path, const wchar_t* target, const wchar_t* arguments) {
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  bool saved = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_IShellLinkW, reinterpret_cast<void**>(&link))) &&
               SUCCEEDED(link->SetPath(target)) && SUCCEEDED(link->SetArguments(arguments)) &&
               SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
               SUCCEEDED(file->Save(path.c_str(), TRUE));
  if (file) file->Release();
  if (link) link->Release();
  return saved;
}

// The user's Startup folder is shared with the end-to-end tests: whatever this test puts
// there goes again, whichever way it ends.
class StartupFolderItems : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    folder = UserStartupFolder();
    ASSERT_FALSE(folder.empty());
  }
  void TearDown() override {
    for (const wchar_t* name : {L"tray.lnk", L"broken.lnk", L"helper.exe", L"desktop.ini"})
      DeleteFileW((folder + name).c_str());
    CoUninitialize();
  }
  std::wstring folder;
};

TEST_F(StartupFolderItems, AShortcutGivesWhatItStartsAProgramItsOwnPath) {
  ASSERT_TRUE(WriteShortcut(folder + L"tray.lnk", L"C:\\windows\\notepad.exe", L"/background"));
  for (const wchar_t* name : {L"helper.exe", L"desktop.ini", L"broken.lnk"})
    CloseHandle(CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  std::string base(folder.begin(), folder.end());  // the test prefix's folder is ASCII

  win32::Win32StartupFolders folders;
  std::vector<std::pair<std::string, std::string>> items;
  for (const StartupItem& item : folders.Items(StartupFolder::User))
    items.emplace_back(item.name, item.target);
  std::sort(items.begin(), items.end());
  EXPECT_EQ(items, (std::vector<std::pair<std::string, std::string>>{
                       {"broken.lnk", ""},
                       {"helper.exe", base + "helper.exe"},
                       {"tray.lnk", "C:\\windows\\notepad.exe /background"}}));
}

}  // namespace
