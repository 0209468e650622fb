#include "standin/game_window.h"

#include <string>

#include "game_client/contract.h"
#include "standin/field.h"
#include "standin/transcript_format.h"

namespace standin {

namespace {

static_assert(game_client::GameWindowPoint.x >= ScreenArea.left &&
              game_client::ChatPoint.x < ScreenArea.right &&
              game_client::ChatPoint.y < ScreenArea.bottom);

// Destroys the closed entry line once its own procedure has returned (lParam: the line).
constexpr UINT DestroyChatMessage = WM_APP + 2;

// Sent lines are listed in this box, clear of the contract's points.
constexpr RECT ChatBox{60, 90, 740, 540};
constexpr int LineHeight = 16;
constexpr size_t KeptLines = 200;

struct GameWindow {
  Client* client;
  HWND chat = nullptr;  // the open entry line, or none
};

void OpenChat(HWND window, GameWindow& game) {
  if (game.chat) return;  // already open: Enter on the window changes nothing
  auto [x, y] = game_client::ChatPoint;
  game.chat = CreateField(window, ChatFieldId, FieldRectAround(x, y, 760, 22), 0);
  if (!game.chat) return;
  game.client->transcript.Write("chat-open", "", true);
  SetFocus(game.chat);
}

void CloseChat(HWND window, GameWindow& game) {
  HWND chat = game.chat;
  game.chat = nullptr;
  ShowWindow(chat, SW_HIDE);  // the chat point shows the game window again from here on
  SetFocus(window);
  PostMessageA(window, DestroyChatMessage, 0, reinterpret_cast<LPARAM>(chat));
}

void OnChat(HWND window, GameWindow& game, const FieldNotice& notice) {
  Client& client = *game.client;
  switch (notice.event) {
    case FieldEvent::TextSet: RecordTextSet(client, "chat", notice.text, true); break;
    case FieldEvent::Pasted:
      client.transcript.Write("paste", std::string("chat ") + transcript::Quote(notice.text), true);
      break;
    case FieldEvent::EnterDown: {
      std::string line(GetWindowTextLengthA(game.chat) + 1, '\0');
      line.resize(GetWindowTextA(game.chat, line.data(), static_cast<int>(line.size())));
      client.transcript.Write("chat", transcript::Quote(line), true);
      client.chatLines.push_back(line);
      if (client.chatLines.size() > KeptLines) client.chatLines.erase(client.chatLines.begin());
      CloseChat(window, game);
      RECT box = ChatBox;
      InvalidateRect(window, &box, TRUE);
      break;
    }
    case FieldEvent::Escape:
      client.transcript.Write("chat-cancel", "", true);
      CloseChat(window, game);
      break;
    default: break;
  }
}

void Paint(HWND window, const GameWindow& game) {
  const Client& client = *game.client;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(230, 200, 120));
  std::string header = "MIR   server " + client.server + "   character " + client.login;
  TextOutA(dc, ChatBox.left, 50, header.data(), static_cast<int>(header.size()));
  RECT box = ChatBox;
  FrameRect(dc, &box, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
  SetTextColor(dc, RGB(255, 255, 255));
  // The newest lines that fit, oldest at the top.
  size_t fit = (ChatBox.bottom - ChatBox.top - 8) / LineHeight;
  size_t first = client.chatLines.size() > fit ? client.chatLines.size() - fit : 0;
  int y = ChatBox.top + 4;
  for (size_t i = first; i < client.chatLines.size(); ++i, y += LineHeight) {
    const std::string& line = client.chatLines[i];
    RECT row{ChatBox.left + 6, y, ChatBox.right - 6, y + LineHeight};
    DrawTextA(dc, line.data(), static_cast<int>(line.size()), &row,
              DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  SetTextColor(dc, RGB(150, 150, 150));
  const char hint[] = "Enter: chat";
  TextOutA(dc, ChatBox.left, ChatBox.bottom + 8, hint, sizeof hint - 1);
  EndPaint(window, &ps);
}

LRESULT CALLBACK GameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* game = reinterpret_cast<GameWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      game = new GameWindow{static_cast<Client*>(create->lpCreateParams)};
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(game));
      break;
    }
    case WM_KEYDOWN:
      if (game && wParam == VK_RETURN) return OpenChat(window, *game), 0;
      break;
    case WM_CHAR:
      if (wParam == '\r') return 0;
      break;
    case FieldNoticeMessage: {
      auto& notice = *reinterpret_cast<const FieldNotice*>(lParam);
      // A closed line may still get what was posted to it before it closed: ignored.
      if (game && game->chat && notice.field == game->chat) OnChat(window, *game, notice);
      return 0;
    }
    case DestroyChatMessage: {
      HWND chat = reinterpret_cast<HWND>(lParam);
      if (IsWindow(chat) && GetParent(chat) == window) DestroyWindow(chat);
      return 0;
    }
    case WM_SETTEXT:
      if (game)
        RecordTextSet(*game->client, "game", lParam ? reinterpret_cast<const char*>(lParam) : "",
                      true);
      break;
    case WM_PAINT:
      if (game) return Paint(window, *game), 0;
      break;
    case WM_DESTROY: PostQuitMessage(0); break;
    case WM_NCDESTROY:
      delete game;
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool RegisterGameWindowClass(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = GameProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = game_client::GameWindowClass;
  return RegisterClassExA(&wc) != 0;
}

HWND CreateGameWindow(HINSTANCE instance, Client& client) {
  RECT r = ScreenArea;
  HWND window = CreateWindowExA(WS_EX_APPWINDOW, game_client::GameWindowClass, "Mir",
                                WS_POPUP | WS_VISIBLE, r.left, r.top, r.right - r.left,
                                r.bottom - r.top, nullptr, nullptr, instance, &client);
  if (window) SetForegroundWindow(window);
  return window;
}

}  // namespace standin
