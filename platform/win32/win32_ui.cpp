#include "platform/win32/win32_ui.h"

#include <commctrl.h>
#include <objbase.h>
#include <richedit.h>

#include <string>

#include "platform/win32/resource.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_surface.h"
#include "platform/win32/win32_system.h"

namespace platform::win32 {

namespace {

// The program is not DPI aware: its fonts are laid out for 96 dots per inch.
constexpr int LogicalDpi = 96;

HMODULE LoadSystemLibrary(const char* name) {
  HMODULE module = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module) return module;
  // Systems without the search flags: name the system folder outright.
  char folder[MAX_PATH];
  UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::string path = std::string(folder, length) + "\\" + name;
  return LoadLibraryA(path.c_str());
}

}  // namespace

void ShowUncaught() noexcept {
  try {
    ShowMessageBox(MessageKind::Error, UncaughtErrorText());
  } catch (...) {
    // Nothing is left to tell the player with.
  }
}

UiState::UiState(const Cursor& cursor) : cursor_(cursor), instance_(GetModuleHandleA(nullptr)) {
  // The shell's open operation and the file dialog expect a single-threaded apartment.
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  comInitialised_ = SUCCEEDED(com);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES |
                                                     ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES |
                                                     ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  RegisterClasses();
}

UiState::~UiState() {
  for (auto& [key, font] : fonts_) DeleteObject(font);
  for (auto& [color, brush] : brushes_) DeleteObject(brush);
  if (comInitialised_) CoUninitialize();
  // The rich edit library stays loaded: windows of its class may still be torn down.
}

void UiState::RegisterClasses() {
  WNDCLASSEXA form{};
  form.cbSize = sizeof form;
  form.style = CS_DBLCLKS;
  form.lpfnWndProc = SurfaceWindowProc;
  form.hInstance = instance_;
  form.hIcon = LoadIconA(instance_, MAKEINTRESOURCEA(IDI_QUENLAR));
  if (!form.hIcon) form.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  form.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  form.lpszClassName = FormClass;
  RegisterClassExA(&form);

  WNDCLASSEXA page = form;
  page.hIcon = nullptr;
  page.lpszClassName = PageClass;
  RegisterClassExA(&page);

  WNDCLASSEXA custom = page;
  custom.lpfnWndProc = CustomControlProc;
  custom.lpszClassName = CustomControlClass;
  RegisterClassExA(&custom);
}

HFONT UiState::Font(const FontSpec& spec) {
  auto key = std::make_tuple(spec.name, spec.points, spec.bold);
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second;
  HFONT font =
      CreateFontA(-MulDiv(spec.points, LogicalDpi, 72), 0, 0, 0, spec.bold ? FW_BOLD : FW_NORMAL,
                  FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, spec.name.c_str());
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  fonts_.emplace(key, font);
  return font;
}

HBRUSH UiState::Brush(COLORREF color) {
  auto found = brushes_.find(color);
  if (found != brushes_.end()) return found->second;
  HBRUSH brush = CreateSolidBrush(color);
  brushes_.emplace(color, brush);
  return brush;
}

COLORREF UiState::Resolve(Color color, int systemColor) const {
  return color == colors::Window ? GetSysColor(systemColor) : ToColorRef(color);
}

const char* UiState::RichEditClass() {
  if (!richEditLoaded_) {
    richEditLoaded_ = true;
    if (LoadSystemLibrary("Msftedit.dll"))
      richEditClass_ = "RICHEDIT50W";
    else if (LoadSystemLibrary("riched20.dll"))
      richEditClass_ = RICHEDIT_CLASSA;
  }
  return richEditClass_;
}

ControlCore* UiState::Find(HWND window) const {
  auto found = controls_.find(window);
  return found == controls_.end() ? nullptr : found->second;
}

bool UiState::ApplyCursor(LPARAM setCursorLParam) const {
  const CursorShape shape = cursor_.Current();
  if (shape == crDefault || LOWORD(setCursorLParam) != HTCLIENT) return false;
  SetCursor(static_cast<HCURSOR>(CursorHandleFor(shape)));
  return true;
}

bool UiState::PreTranslate(MSG& message) const {
  if (!message.hwnd) return false;
  HWND root = GetAncestor(message.hwnd, GA_ROOT);
  if (!root || !forms_.count(root)) return false;
  return IsDialogMessageW(root, &message) != FALSE;
}

void UiState::Dispatch(MSG& message) const {
  if (PreTranslate(message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace platform::win32
