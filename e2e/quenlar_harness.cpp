#include "e2e/quenlar_harness.h"

#include <cstdio>

namespace e2e {

namespace {

constexpr DWORD EndTimeoutMs = 30000;

bool IsMainWindow(HWND window) {
  std::string cls = ClassOf(window);
  if (cls == "#32770" || cls == "#32768") return false;
  std::string title = TextOf(window);
  return title == "Quenlar" || title.rfind("Quenlar - ", 0) == 0;
}

std::string Folder(const std::string& path) {
  size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string Describe(const MessageBoxView& box) {
  return "message box '" + box.title + "': \"" + box.text + "\"";
}

}  // namespace

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += "  " + line + "\n";
  return text;
}

Installation Installation::FromEnvironment() {
  Installation setup;
  setup.quenlarExe = WindowsPath(RequiredEnvironment("QUENLAR_EXE"));
  setup.mirExe = WindowsPath(RequiredEnvironment("MIR_EXE"));
  setup.patcherConfig = JoinPath(Folder(setup.mirExe), "ftp.ini");
  setup.artifacts = WindowsPath(RequiredEnvironment("E2E_ARTIFACTS"));
  return setup;
}

void InstallGameIn(const Installation& setup, const std::string& folder) {
  CreateDirectories(folder);
  ClearDirectory(folder);
  CopyFileOrThrow(setup.mirExe, folder + "mir.exe");
  CopyFileOrThrow(setup.patcherConfig, folder + "ftp.ini");
}

void RestoreGameFolder(const Installation& setup) { InstallGameIn(setup, GameFolder); }

void ResetUserState(const Installation& setup) {
  DeleteKeyTree(ProductKey);
  DeleteValue(RunKey, OwnRunValue);
  DeleteValue(RunKey, PlantedRunValue);
  DeleteValue(RunKey, PlantedRunValue, Hive::Machine32);
  RestoreGameFolder(setup);
  CreateDirectories(WorkFolder);
  ClearDirectory(WorkFolder);
  CreateDirectories(setup.artifacts);
}

QuenlarRun::QuenlarRun(const Installation& setup, std::string name)
    : setup_(setup),
      name_(std::move(name)),
      process_(Process::Start(setup.quenlarExe, "", WorkFolder)) {}

HWND QuenlarRun::MainWindow() {
  if (!main_ || !IsWindow(main_))
    main_ = WaitForTopLevel(process_.id(), IsMainWindow, "the main window of Quenlar");
  return main_;
}

std::string QuenlarRun::Title() { return TextOf(MainWindow()); }

HWND QuenlarRun::Button(const std::string& caption) {
  HWND button = FindChild(MainWindow(), "Button", caption);
  if (!button) throw DriverError("no button '" + caption + "' on the main window");
  return button;
}

std::vector<std::string> QuenlarRun::Log() {
  HWND memo = FindMultiLineEdit(MainWindow());
  if (!memo) throw DriverError("no event log on the main window");
  return Lines(TextOf(memo));
}

void QuenlarRun::Answer(const std::string& title, const std::string& text,
                        const std::string& button) {
  MessageBoxView box = WaitForMessageBox(process_.id(), title);
  if (box.text != text)
    throw DriverError(Describe(box) + " came where \"" + text + "\" was expected");
  e2e::Answer(box, button);
}

void QuenlarRun::AnswerFirstRunWithGame(const std::string& gameExe) {
  Answer("Confirm", FirstRunQuestion, "&Yes");
  ChooseFileInOpenDialog(process_.id(), OpenDialogTitle, gameExe);
}

std::vector<std::string> QuenlarRun::WaitForScan() {
  HWND window = MainWindow();
  ULONGLONG deadline = GetTickCount64() + DefaultTimeoutMs;
  for (;;) {
    if (auto box = FindMessageBox(process_.id()))
      throw DriverError("unexpected " + Describe(*box) + " during the scan");
    if (!process_.Running()) throw DriverError("Quenlar ended during the scan");
    std::vector<std::string> log = Log();
    bool buttons = IsEnabled(Button("&Accounts...")) && IsEnabled(Button("&Play")) &&
                   IsEnabled(Button("E&xit"));
    if (buttons && !log.empty() && log.back().rfind("Message Target: ", 0) == 0) break;
    if (GetTickCount64() >= deadline)
      throw DriverError("the scan did not finish; the log holds:\n" + Joined(log));
    Pump(100);
  }
  // Let the last lines and the title paint before the picture is taken.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump(300);
  std::vector<std::string> log = Log();
  SaveArtifacts();
  return log;
}

void QuenlarRun::SaveArtifacts() {
  std::string text;
  for (const std::string& line : Log()) text += line + "\r\n";
  WriteFileBytes(JoinPath(setup_.artifacts, name_ + ".log"), text);
  screenshot_ = JoinPath(setup_.artifacts, name_ + ".bmp");
  SaveBmp(CaptureWindow(MainWindow()), screenshot_);
}

static LogColour ReadColourOf(HWND memo) {
  RECT area{};
  GetWindowRect(memo, &area);
  // Inside the border and clear of the scroll bars.
  area.left += 4;
  area.top += 4;
  area.right -= GetSystemMetrics(SM_CXVSCROLL) + 4;
  area.bottom -= GetSystemMetrics(SM_CYHSCROLL) + 4;
  Image image = CaptureRect(area);
  size_t red = 0, dark = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      std::uint32_t p = image.Pixel(x, y);
      int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      if (r >= 160 && g < 96 && b < 96)
        ++red;
      else if (r < 96 && g < 96 && b < 96)
        ++dark;
    }
  // Any red text means a red log; a message box left painted over the log (Wine repaints
  // it late at times) has dark text but no red.
  constexpr size_t Some = 20;
  if (red >= Some) return LogColour::Red;
  if (dark >= Some) return LogColour::Black;
  return LogColour::Unknown;
}

static const char* NameOf(LogColour colour) {
  return colour == LogColour::Black ? "black" : colour == LogColour::Red ? "red" : "unknown";
}

// What lies over the middle of a window, as "class (process n)".
static std::string WhatCovers(HWND window) {
  RECT area{};
  GetWindowRect(window, &area);
  HWND at = WindowFromPoint({(area.left + area.right) / 2, (area.top + area.bottom) / 2});
  HWND root = GetAncestor(at, GA_ROOT);
  return ClassOf(at) + " in " + ClassOf(root) + " '" + TextOf(root) + "' (process " +
         std::to_string(ProcessOf(at)) + ")";
}

LogColour QuenlarRun::ReadLogColour(LogColour expected) {
  HWND memo = FindMultiLineEdit(MainWindow());
  const ULONGLONG start = GetTickCount64();
  ULONGLONG deadline = start + 5000;
  for (int read = 1;; ++read) {
    LogColour colour = ReadColourOf(memo);
    if (colour == expected) {
      // Said, so that a log shows how often the screen lags behind the program.
      if (read > 1)
        std::fprintf(stderr, "%s: the log read %s after %d reads in %llu ms\n", name_.c_str(),
                     NameOf(colour), read, GetTickCount64() - start);
      return colour;
    }
    if (read == 1) {
      std::fprintf(stderr, "%s: the log read %s first, %s expected; over it: %s\n", name_.c_str(),
                   NameOf(colour), NameOf(expected), WhatCovers(memo).c_str());
      SaveBmp(CaptureScreen(), JoinPath(setup_.artifacts, name_ + "-first-log-colour.bmp"));
    }
    if (GetTickCount64() >= deadline) {
      // The whole screen as it was read, to tell a wrong colour from a window in the way.
      SaveBmp(CaptureScreen(), JoinPath(setup_.artifacts, name_ + "-log-colour.bmp"));
      return colour;
    }
    // Another program's window left over the log would be read instead of it.
    SetWindowPos(MainWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RedrawWindow(memo, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump(250);
  }
}

DWORD QuenlarRun::Exit(ExitBy by, const std::vector<Reply>& replies) {
  if (by == ExitBy::Menu)
    ChooseMenu(MainWindow(), {{"&Menu"}, {"E&xit"}});
  else
    PostClick(Button("E&xit"));  // its questions are modal
  size_t next = 0;
  ULONGLONG deadline = GetTickCount64() + EndTimeoutMs;
  for (;;) {
    if (auto code = process_.WaitForExit(0)) {
      if (next < replies.size())
        throw DriverError("Quenlar ended without asking \"" + replies[next].text + "\"");
      return *code;
    }
    if (auto box = FindMessageBox(process_.id())) {
      if (next >= replies.size()) throw DriverError("unexpected " + Describe(*box) + " on exit");
      if (box->text != replies[next].text)
        throw DriverError(Describe(*box) + " came where \"" + replies[next].text +
                          "\" was expected");
      e2e::Answer(*box, replies[next].button);
      ++next;
      deadline = GetTickCount64() + EndTimeoutMs;
      continue;
    }
    if (GetTickCount64() >= deadline) throw DriverError("Quenlar did not end after E&xit");
    Pump(50);
  }
}

DWORD QuenlarRun::WaitForEnd() {
  auto code = process_.WaitForExit(EndTimeoutMs);
  if (!code) throw DriverError("Quenlar did not end");
  return *code;
}

}  // namespace e2e
