#include "standin/login_screen.h"

#include <cstdio>
#include <string>

#include "game_client/contract.h"
#include "standin/field.h"
#include "standin/game_window.h"
#include "standin/transcript_format.h"

namespace standin {

namespace {

constexpr const char* ClassName = "TMirLoginScreen";

static_assert(game_client::LoginPoint.x < ScreenArea.right &&
              game_client::PasswordPoint.y < ScreenArea.bottom);

// Trouble for the end-to-end tests, from MIR_STANDIN_TROUBLE: "hang <texts> <ms>" stops
// handling messages for <ms> right after the <texts>th text set into a field; "exit
// <texts>" hides the login screen there and ends the client.
struct Trouble {
  enum Kind { None, Hang, Exit } kind = None;
  int texts = 0;
  DWORD hangMs = 0;
};

Trouble ReadTrouble() {
  char value[64] = "";
  if (!GetEnvironmentVariableA("MIR_STANDIN_TROUBLE", value, sizeof value)) return {};
  char word[16] = "";
  int texts = 0;
  unsigned long ms = 0;
  const int read = sscanf(value, "%15s %d %lu", word, &texts, &ms);
  if (read >= 3 && std::string(word) == "hang") return {Trouble::Hang, texts, ms};
  if (read >= 2 && std::string(word) == "exit") return {Trouble::Exit, texts, 0};
  return {};
}

struct LoginScreen {
  Client* client;
  HWND login = nullptr;
  HWND password = nullptr;
  bool enterDown = false;  // Enter went down in the password field; its release submits
  Trouble trouble = ReadTrouble();
  int textsSet = 0;
};

void MakeTrouble(HWND window, LoginScreen& screen) {
  if (screen.trouble.kind == Trouble::None || ++screen.textsSet != screen.trouble.texts) return;
  screen.client->transcript.Flush();
  if (screen.trouble.kind == Trouble::Hang) {
    Sleep(screen.trouble.hangMs);  // no message is handled meanwhile
    return;
  }
  // Gone from the points at once; closing the login screen ends the client.
  ShowWindow(window, SW_HIDE);
  PostMessageA(window, WM_CLOSE, 0, 0);
}

std::string TextOf(HWND field) {
  std::string text(GetWindowTextLengthA(field) + 1, '\0');
  text.resize(GetWindowTextA(field, text.data(), static_cast<int>(text.size())));
  return text;
}

void Submit(HWND window, LoginScreen& screen) {
  Client& client = *screen.client;
  if (client.loggedIn) return;  // a second Enter before this screen is gone
  std::string login = TextOf(screen.login), password = TextOf(screen.password);
  client.transcript.Write(
      "login-submitted",
      "login " + transcript::Quote(login) + " password " + transcript::Quote(password), true);
  client.login = login;
  if (!CreateGameWindow(GetModuleHandleA(nullptr), client)) return;  // stay on this screen
  client.loggedIn = true;
  client.transcript.Write("screen", "game", true);
  // Hidden now so the points show the game window at once; destroyed once off the stack
  // of the field procedure that reported the Enter.
  ShowWindow(window, SW_HIDE);
  PostMessageA(window, WM_CLOSE, 0, 0);
}

void OnField(HWND window, LoginScreen& screen, const FieldNotice& notice) {
  bool isPassword = notice.id == PasswordFieldId;
  switch (notice.event) {
    case FieldEvent::TextSet:
      // Not urgent: a stealth flood sets thousands of texts here.
      RecordTextSet(*screen.client, isPassword ? "password" : "login", notice.text, false);
      MakeTrouble(window, screen);
      break;
    case FieldEvent::EnterDown:
      if (isPassword) screen.enterDown = true;
      break;
    case FieldEvent::EnterUp:
      if (!isPassword) {
        SetFocus(screen.password);
      } else if (screen.enterDown) {
        screen.enterDown = false;
        Submit(window, screen);
      }
      break;
    default: break;
  }
}

void Paint(HWND window, const LoginScreen& screen) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(230, 200, 120));
  auto label = [&](HWND field, const char* text) {
    RECT r;
    GetWindowRect(field, &r);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&r), 2);
    RECT box{r.left - 110, r.top, r.left - 10, r.bottom};
    DrawTextA(dc, text, -1, &box, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  };
  label(screen.login, "Account");
  label(screen.password, "Password");
  RECT title{0, 150, ScreenArea.right, 200};
  DrawTextA(dc, "MIR - LOG IN", -1, &title, DT_CENTER | DT_SINGLELINE);
  std::string server = "Server " + screen.client->server;
  RECT footer{0, 540, ScreenArea.right, 570};
  DrawTextA(dc, server.c_str(), -1, &footer, DT_CENTER | DT_SINGLELINE);
  EndPaint(window, &ps);
}

LRESULT CALLBACK LoginProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* screen = reinterpret_cast<LoginScreen*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      screen = new LoginScreen{static_cast<Client*>(create->lpCreateParams)};
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(screen));
      break;
    }
    case WM_CREATE: {
      auto [lx, ly] = game_client::LoginPoint;
      auto [px, py] = game_client::PasswordPoint;
      screen->login = CreateField(window, LoginFieldId, FieldRectAround(lx, ly, 200, 22), 0);
      screen->password =
          CreateField(window, PasswordFieldId, FieldRectAround(px, py, 200, 22), ES_PASSWORD);
      if (!screen->login || !screen->password) return -1;
      SetFocus(screen->login);
      return 0;
    }
    case FieldNoticeMessage:
      if (screen) OnField(window, *screen, *reinterpret_cast<const FieldNotice*>(lParam));
      return 0;
    case WM_SETTEXT:
      if (screen)
        RecordTextSet(*screen->client, "login-screen",
                      lParam ? reinterpret_cast<const char*>(lParam) : "", true);
      break;
    case WM_PAINT:
      if (screen) return Paint(window, *screen), 0;
      break;
    case WM_DESTROY:
      if (screen && !screen->client->loggedIn) PostQuitMessage(0);
      break;
    case WM_NCDESTROY:
      delete screen;
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool RegisterLoginScreenClass(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = LoginProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = CreateSolidBrush(RGB(40, 30, 25));
  wc.lpszClassName = ClassName;
  return RegisterClassExA(&wc) != 0;
}

HWND CreateLoginScreen(HINSTANCE instance, Client& client) {
  RECT r = ScreenArea;
  return CreateWindowExA(WS_EX_APPWINDOW, ClassName, "Mir", WS_POPUP | WS_VISIBLE, r.left, r.top,
                         r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, &client);
}

}  // namespace standin
