// The window toolkit: forms, their controls and menus, timers, modal dialogs and
// message boxes, and the application's message loop.
//
// A form and everything on it belong to the backend: Add* returns a reference that
// stays valid until the form is destroyed. Positions are client coordinates of the
// parent in pixels, unscaled. Events are plain callbacks given at creation; the
// backend runs them on the one user-interface thread, from the message loop, from
// ProcessMessages, or from inside a modal loop (a message box, ShowModal).
//
// An exception that escapes a handler goes no further than the toolkit: it is shown in
// an error box (title "Error", button "OK", the exception's message as the text) and the
// message loop goes on. A modal form whose handler failed stays open.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/types.h"

namespace platform {

struct FontSpec {
  std::string name = "MS Sans Serif";
  int points = 8;
  Color color = colors::Black;
  bool bold = false;
};

enum class MouseButton { Left, Right, Middle };

struct MouseEvent {
  MouseButton button = MouseButton::Left;
  Point at;  // client coordinates of the control the event belongs to
};

// The text of the error box for the exception being handled; call it in a catch block.
inline std::string UncaughtErrorText() {
  try {
    throw;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unknown error";
  }
}

using Action = std::function<void()>;
using MouseAction = std::function<void(const MouseEvent&)>;

// What every control can do. Text is the caption of a label or button and the
// contents of an edit, memo or rich edit.
class Control {
 public:
  virtual ~Control() = default;
  virtual WindowHandle Handle() const = 0;  // 0 for a control without a window
  virtual void SetText(const std::string& text) = 0;
  virtual std::string Text() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual bool Visible() const = 0;
  virtual void SetFocus() = 0;
  virtual Point ClientToScreen(Point p) const = 0;
};

struct LabelSpec {
  Bounds bounds;
  std::string caption;
  FontSpec font;
  bool wordWrap = false;
  bool transparent = false;
  Action onClick;  // set: the label is clickable
  MouseAction onMouseMove;
};

struct ButtonSpec {
  Bounds bounds;
  std::string caption;  // "&" marks the access key
  int tabOrder = 0;
  bool enabled = true;
  bool isDefault = false;  // Enter in the form presses it
  Action onClick;
  bool isCancel = false;  // Esc in the form presses it
};

class Button : public Control {
 public:
  // Runs the click handler, as a click by the player would.
  virtual void Click() = 0;
  // Replaces the click handler: a window attaches its handlers after its layout.
  virtual void SetOnClick(Action onClick) = 0;
};

// A flat button with a picture and no window of its own; it takes no focus and keeps
// the pointer captured while a button is held, so moves outside the form arrive.
struct SpeedButtonSpec {
  Bounds bounds;
  std::string glyph;  // picture name, drawn by the backend
  std::string hint;   // shown as a tooltip
  MouseAction onMouseDown;
  MouseAction onMouseMove;
  MouseAction onMouseUp;
};

struct EditSpec {
  Bounds bounds;  // width and height matter only for a visible edit
  std::string text;
  int tabOrder = 0;
  bool visible = true;
  char passwordChar = 0;  // 0: characters are shown
  int maxLength = 0;      // the most characters the player can type or paste; 0: no limit
};

class Edit : public Control {
 public:
  virtual void SelectAll() = 0;
  // The text as the player typed it, in UTF-8, also where the code page has no form for a
  // character (Text gives "?" for it there). A visible edit keeps what it is given
  // exactly; a hidden one holds code-page text.
  virtual std::string TextUtf8() const = 0;
  virtual void SetTextUtf8(const std::string& text) = 0;
};

struct MemoSpec {
  Bounds bounds;
  FontSpec font;
  int tabOrder = 0;
  bool readOnly = false;
  bool scrollBars = true;  // both
};

// A multi-line text box with one font colour for all its text.
class Memo : public Control {
 public:
  virtual void AppendLine(const std::string& line) = 0;
  // The lines in one insertion, as if appended one by one.
  virtual void AppendLines(const std::vector<std::string>& lines) = 0;
  virtual void Clear() = 0;
  virtual std::vector<std::string> Lines() const = 0;
  virtual void SetFontColor(Color color) = 0;
  virtual Color FontColor() const = 0;
  // The lines as the player typed them, and the text set so, in UTF-8 (as Edit's): an
  // editable memo keeps every character; a read-only one holds code-page text.
  virtual std::vector<std::string> LinesUtf8() const = 0;
  virtual void SetTextUtf8(const std::string& text) = 0;
};

struct RichEditSpec {
  Bounds bounds;
  FontSpec font;  // its colour is the text colour
  std::string text;
  bool readOnly = true;
  bool scrollBars = true;
  bool wordWrap = false;
};

struct ListViewSpec {
  Bounds bounds;
  int tabOrder = 0;
  Action onClick;
  Action onDoubleClick;
};

// A list-style list view of captions, without in-place editing.
class ListView : public Control {
 public:
  virtual void Clear() = 0;
  virtual void AddItem(const std::string& caption) = 0;
  virtual int Count() const = 0;
  virtual std::string ItemCaption(int index) const = 0;
  virtual int SelectedIndex() const = 0;  // -1: none
  virtual void Select(int index) = 0;
};

struct AnimationSpec {
  Bounds bounds;
  int stopFrame = 0;  // the frame shown while it is not playing
};

// A short looping clip that plays while the program is busy and otherwise rests on its
// stop frame.
class Animation : public Control {
 public:
  virtual void SetActive(bool active) = 0;
  virtual bool Active() const = 0;
};

// A picture that behaves as a button: one picture at rest, one while pressed, one
// while the pointer is over it.
struct ImageButtonSpec {
  Bounds bounds;
  std::string imageUp;
  std::string imageDown;
  std::string imageOver;
  Action onClick;
};

class ImageButton : public Control {
 public:
  virtual std::string ShownImage() const = 0;
  virtual void Click() = 0;
};

class Container;

struct PageControlSpec {
  Bounds bounds;
  int tabOrder = 0;
  bool tabsOnRight = false;
  bool multiLine = false;
};

class PageControl : public Control {
 public:
  // A page is a container of its own; its controls are placed in the page's client area.
  virtual Container& AddPage(const std::string& caption, const FontSpec& font) = 0;
  virtual int PageCount() const = 0;
  virtual void SetActivePage(int index) = 0;
  virtual int ActivePage() const = 0;
  // Pointer moves over a page's own background, not over a control on it.
  virtual void SetPageMouseMove(int /*index*/, MouseAction /*onMouseMove*/) {}
};

// Something controls can be placed on: a form or a page.
class Container {
 public:
  virtual ~Container() = default;
  virtual Control& AddLabel(const LabelSpec& spec) = 0;
  virtual Button& AddButton(const ButtonSpec& spec) = 0;
  virtual Control& AddSpeedButton(const SpeedButtonSpec& spec) = 0;
  virtual Edit& AddEdit(const EditSpec& spec) = 0;
  virtual Memo& AddMemo(const MemoSpec& spec) = 0;
  virtual Control& AddRichEdit(const RichEditSpec& spec) = 0;
  virtual ListView& AddListView(const ListViewSpec& spec) = 0;
  virtual Animation& AddAnimation(const AnimationSpec& spec) = 0;
  virtual ImageButton& AddImageButton(const ImageButtonSpec& spec) = 0;
  virtual PageControl& AddPageControl(const PageControlSpec& spec) = 0;
  // A picture sized to itself; clicks run onClick.
  virtual Control& AddImage(Bounds bounds, const std::string& picture, Action onClick) = 0;
};

struct MenuItemSpec {
  std::string caption;  // "&" marks the access key
  bool checked = false;
  Action onClick;
};

class MenuItem {
 public:
  virtual ~MenuItem() = default;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual std::string Caption() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetChecked(bool checked) = 0;
  virtual bool Checked() const = 0;
  // Runs the item's handler, as choosing it would.
  virtual void Click() = 0;
  // Replaces the item's handler: a window attaches its handlers after its layout.
  virtual void SetOnClick(Action onClick) = 0;
};

// A top-level entry of the menu bar: a drop-down menu, or an item of its own when it
// has no items.
class Menu : public MenuItem {
 public:
  virtual MenuItem& AddItem(const MenuItemSpec& spec) = 0;
  virtual void AddSeparator() = 0;
  // Every entry in order; a separator is listed with the caption "-" and runs nothing.
  virtual std::vector<MenuItem*> Items() const = 0;
};

enum class BorderStyle {
  Single,      // fixed single border
  Dialog,      // fixed dialog frame, no minimise or maximise
  ToolWindow,  // small caption with a close button, fixed size
  Sizeable,
};

struct FormSpec {
  std::string caption;
  int clientWidth = 0;
  int clientHeight = 0;
  // When set, the outer size, frame included, from which the client size follows.
  int outerWidth = 0;
  int outerHeight = 0;
  Color background = colors::Window;
  BorderStyle border = BorderStyle::Single;
  bool minimizeBox = true;
  bool maximizeBox = true;
  bool centred = true;  // centred on the screen when shown
  FontSpec font;
  MouseAction onMouseMove;  // over the form's own background
};

class Form : public Container {
 public:
  virtual WindowHandle Handle() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual std::string Caption() const = 0;
  // onPopup runs each time the menu opens; onClick, when the entry has no items.
  virtual Menu& AddMenu(const std::string& caption, Action onPopup, Action onClick = {}) = 0;
  virtual void Show() = 0;
  // Shows the form modally and returns when it has been closed.
  virtual void ShowModal() = 0;
  virtual void Close() = 0;
  virtual bool Showing() const = 0;
};

struct TimerSpec {
  int intervalMs = 1000;
  bool enabled = true;
  Action onTimer;
};

class Timer {
 public:
  virtual ~Timer() = default;
  // Enabling starts a fresh interval; disabling drops a tick that is due.
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetInterval(int ms) = 0;
  virtual int Interval() const = 0;
  // Replaces the tick handler: a window attaches its handlers after its layout.
  virtual void SetOnTimer(Action onTimer) = 0;
};

enum class MessageKind {
  Error,         // title "Error", button "OK"
  Information,   // title "Information", button "OK"
  Confirmation,  // title "Confirm", buttons "&Yes" and "&No"
};

enum class MessageAnswer { Ok, Yes, No };

// The open dialog's texts and the path it gives back are UTF-8, as paths are everywhere
// in the seam (see files.h); the other texts of the toolkit are code-page text.
struct OpenDialogSpec {
  std::string title;
  std::string filter;  // "Executable|*.exe": description and pattern pairs
  std::string defaultExt;
  std::string fileName;
  std::string initialDir;
};

class Toolkit {
 public:
  virtual ~Toolkit() = default;
  virtual void SetApplicationTitle(const std::string& title) = 0;
  // The form's onClose runs when the form is closed; the form itself is destroyed
  // when the returned pointer is.
  virtual std::unique_ptr<Form> CreateForm(const FormSpec& spec, Action onClose = {}) = 0;
  virtual std::unique_ptr<Timer> CreateTimer(const TimerSpec& spec) = 0;
  // A modal message box, centred on the screen; an Information or Error box answers Ok.
  virtual MessageAnswer ShowMessage(MessageKind kind, const std::string& text) = 0;
  // A modal text input box with OK and Cancel; Cancel returns `text` unchanged. Its texts
  // are UTF-8, so what the player types comes back whole.
  virtual std::string InputBox(const std::string& title, const std::string& prompt,
                               const std::string& text) = 0;
  // A modal open-file dialog; returns the file name it holds when it closes: the chosen
  // file's full path, or the preset name when cancelled.
  virtual std::string ShowOpenDialog(const OpenDialogSpec& spec) = 0;
  // Handles the messages waiting in the queue (timer ticks that are due among them).
  virtual void ProcessMessages() = 0;
  // Runs the message loop until the main form closes or Terminate takes effect.
  virtual void Run(Form& mainForm) = 0;
  // Asks the application to end once control is back in its message loop.
  virtual void Terminate() = 0;
};

}  // namespace platform
