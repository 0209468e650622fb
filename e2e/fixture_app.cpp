// A small window for the driver's own tests: a menu whose last item only its popup's
// WM_INITMENUPOPUP enables, a message box, the open-file dialog, and a multi-line log of
// what happened. Exit code 3 through "E&xit".
#include <windows.h>
#include <commdlg.h>

#include <string>

namespace {

enum : UINT { GreetId = 201, OpenId = 202, ExitId = 203, ButtonId = 301, LogId = 302 };

HMENU file;
HWND logEdit;

void Note(const std::string& line) {
  int end = GetWindowTextLengthA(logEdit);
  SendMessageA(logEdit, EM_SETSEL, end, end);
  SendMessageA(logEdit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>((line + "\r\n").c_str()));
}

void Greet(HWND window) {
  int answer = MessageBoxA(window, "Hello", "Greeting", MB_YESNO);
  Note(answer == IDYES ? "answer: yes" : "answer: no");
}

void Open(HWND window) {
  char name[MAX_PATH] = "preset.exe";
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = window;
  dialog.lpstrFilter = "Executable\0*.exe\0";
  dialog.lpstrFile = name;
  dialog.nMaxFile = sizeof name;
  dialog.lpstrTitle = "Pick a File";
  dialog.Flags = OFN_HIDEREADONLY;
  Note(GetOpenFileNameA(&dialog) ? std::string("chosen: ") + name : "cancelled");
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITMENUPOPUP:
      if (reinterpret_cast<HMENU>(wParam) == file) EnableMenuItem(file, ExitId, MF_ENABLED);
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case GreetId:
        case ButtonId: Greet(window); return 0;
        case OpenId: Open(window); return 0;
        case ExitId: DestroyWindow(window); return 0;
      }
      break;
    case WM_DESTROY: PostQuitMessage(3); return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA type{};
  type.lpfnWndProc = Procedure;
  type.hInstance = instance;
  type.hCursor = LoadCursor(nullptr, IDC_ARROW);
  type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  type.lpszClassName = "E2eFixture";
  RegisterClassA(&type);

  HMENU bar = CreateMenu();
  file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, GreetId, "&Greet");
  AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(file, MF_STRING, OpenId, "Open...");
  AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(file, MF_STRING | MF_GRAYED, ExitId, "E&xit");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");

  HWND window = CreateWindowA("E2eFixture", "Driver Fixture", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                              100, 420, 300, nullptr, bar, instance, nullptr);
  CreateWindowA("BUTTON", "&Greet", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 25, window,
                reinterpret_cast<HMENU>(ButtonId), instance, nullptr);
  logEdit =
      CreateWindowA("EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE | ES_READONLY, 10,
                    45, 380, 180, window, reinterpret_cast<HMENU>(LogId), instance, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
