#include "standin/field.h"

#include <string>

#include "game_client/contract.h"

namespace standin {

namespace {

WNDPROC g_editProc = nullptr;  // the EDIT class's own procedure, shared by every TEdit

LRESULT Notify(HWND field, FieldEvent event, const char* text) {
  FieldNotice notice{field, GetDlgCtrlID(field), event, text};
  return SendMessageA(GetParent(field), FieldNoticeMessage, 0, reinterpret_cast<LPARAM>(&notice));
}

LRESULT CALLBACK FieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT: {
      LRESULT result = CallWindowProcA(g_editProc, field, message, wParam, lParam);
      const char* text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      Notify(field, FieldEvent::TextSet, text);
      return result;
    }
    case WM_PASTE: {
      LRESULT result = CallWindowProcA(g_editProc, field, message, wParam, lParam);
      std::string text(GetWindowTextLengthA(field) + 1, '\0');
      text.resize(GetWindowTextA(field, text.data(), static_cast<int>(text.size())));
      Notify(field, FieldEvent::Pasted, text.c_str());
      return result;
    }
    case WM_KEYDOWN:
      // The parent may hide or destroy the field in reply: touch nothing after notifying.
      if (wParam == VK_RETURN) return Notify(field, FieldEvent::EnterDown, nullptr), 0;
      if (wParam == VK_ESCAPE) return Notify(field, FieldEvent::Escape, nullptr), 0;
      break;
    case WM_KEYUP:
      if (wParam == VK_RETURN) return Notify(field, FieldEvent::EnterUp, nullptr), 0;
      break;
    case WM_CHAR:
      // The characters of Enter and Escape would only make the edit beep.
      if (wParam == '\r' || wParam == '\n' || wParam == 27) return 0;
      break;
  }
  return CallWindowProcA(g_editProc, field, message, wParam, lParam);
}

}  // namespace

bool RegisterFieldClass(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExA(nullptr, "EDIT", &wc)) return false;
  g_editProc = wc.lpfnWndProc;
  wc.lpfnWndProc = FieldProc;
  wc.hInstance = instance;
  wc.lpszClassName = game_client::FieldClass;
  return RegisterClassExA(&wc) != 0;
}

HWND CreateField(HWND parent, int id, RECT screen, DWORD extraStyle) {
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&screen), 2);
  HWND field = CreateWindowExA(
      WS_EX_CLIENTEDGE, game_client::FieldClass, "",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | extraStyle, screen.left, screen.top,
      screen.right - screen.left, screen.bottom - screen.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  if (field)
    SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  return field;
}

}  // namespace standin
