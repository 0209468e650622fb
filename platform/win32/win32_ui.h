// State the toolkit's windows share: window classes, fonts and brushes, the control
// registry that routes notifications, the application-wide cursor and the end request.
#pragma once

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <unordered_map>

#include "platform/system.h"
#include "platform/toolkit.h"

namespace platform::win32 {

class ControlCore;

inline constexpr const char* FormClass = "QuenlarForm";
inline constexpr const char* PageClass = "QuenlarPage";
inline constexpr const char* CustomControlClass = "QuenlarControl";
inline constexpr const char* TimerWindowClass = "QuenlarTimers";

inline COLORREF ToColorRef(Color color) { return static_cast<COLORREF>(color & 0x00FFFFFF); }

// Shows the exception being handled in an error box; call it in a catch block.
void ShowUncaught() noexcept;

// The work of a window procedure, where the system hands a message to the toolkit and
// so to the program's event handlers. An exception that escapes a handler is shown and
// stops here: it must never unwind through the system's frames, and the message loop
// (a modal one too, whose form then stays open) goes on.
template <class Work>
LRESULT RunGuarded(Work&& work) noexcept {
  try {
    return work();
  } catch (...) {
    ShowUncaught();
    return 0;
  }
}

class UiState {
 public:
  explicit UiState(const Cursor& cursor);
  ~UiState();
  UiState(const UiState&) = delete;
  UiState& operator=(const UiState&) = delete;

  HINSTANCE instance() const { return instance_; }

  // Cached for the toolkit's lifetime, so a window never outlives its font or brush.
  HFONT Font(const FontSpec& spec);
  HBRUSH Brush(COLORREF color);
  // The brush and colour of a background; Window stands for `systemColor`.
  COLORREF Resolve(Color color, int systemColor) const;

  // The rich edit class to create, loading its library on first use; "" when none.
  const char* RichEditClass();

  void Register(HWND window, ControlCore* control) { controls_[window] = control; }
  void Unregister(HWND window) { controls_.erase(window); }
  ControlCore* Find(HWND window) const;

  void AddForm(HWND form) { forms_.insert(form); }
  void RemoveForm(HWND form) { forms_.erase(form); }

  // Answers WM_SETCURSOR while the application-wide shape is not the default.
  bool ApplyCursor(LPARAM setCursorLParam) const;

  // Keyboard navigation for the form the message belongs to; true when it was handled.
  bool PreTranslate(MSG& message) const;
  // Translates and dispatches one message the loop has taken.
  void Dispatch(MSG& message) const;

  void RequestEnd() { endRequested_ = true; }
  bool endRequested() const { return endRequested_; }

  std::string applicationTitle = "Quenlar";

 private:
  void RegisterClasses();

  const Cursor& cursor_;
  HINSTANCE instance_;
  std::map<std::tuple<std::string, int, bool>, HFONT> fonts_;
  std::map<COLORREF, HBRUSH> brushes_;
  std::unordered_map<HWND, ControlCore*> controls_;
  std::set<HWND> forms_;
  bool richEditLoaded_ = false;
  const char* richEditClass_ = "";
  bool comInitialised_ = false;
  bool endRequested_ = false;
};

}  // namespace platform::win32
