// The in-memory controls: objects that tests read and drive. Windowed controls get a
// window in the simulated desktop with the class name the real control has, so that
// WindowFromPoint and the messages of the desktop reach them. Labels and pictures are
// static windows, which a point passes through; the speed button has no window at all.
//
// The User* drivers act as the player would: they do nothing (and return false) unless
// the control can be reached: its form takes input and the control is shown and enabled.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/memory/memory_edit_text.h"
#include "platform/memory/memory_ui.h"
#include "platform/toolkit.h"
#include "platform/unicode.h"

namespace platform {

class MemoryForm;

struct ControlSite {
  MemoryUi& ui;
  MemoryForm& form;
  WindowHandle parentWindow;  // the form, or the page control for a control on a page
};

class MemoryControl {
 public:
  // No window when className is null.
  MemoryControl(const ControlSite& site, Bounds bounds, const char* className, bool transparent,
                bool visible = true);
  virtual ~MemoryControl();
  MemoryControl(const MemoryControl&) = delete;
  MemoryControl& operator=(const MemoryControl&) = delete;

  virtual Control& AsControl() = 0;
  MemoryForm& form() const { return form_; }
  Bounds bounds() const { return bounds_; }
  WindowHandle window() const { return window_; }
  // Whether the player could point at it now.
  bool Reachable() const;
  // Shown on screen: its own state, its page and its form.
  bool OnScreen() const;
  Point ToScreen(Point client) const;
  Point FromScreen(Point screen) const;
  // Controls on a page are hidden with it.
  void SetHostVisible(bool visible);
  bool focused() const;

 protected:
  virtual void OnMessage(const WindowMessage& message);
  // Every event of a control runs through here.
  template <class F, class... Args>
  void Fire(const F& handler, Args&&... args) {
    ui_.RunHandler(handler, std::forward<Args>(args)...);
  }
  void SetEnabledState(bool enabled);
  void SetVisibleState(bool visible);
  void TakeFocus();

  MemoryUi& ui_;
  MemoryForm& form_;
  WindowHandle parentWindow_;
  Bounds bounds_;
  WindowHandle window_ = 0;
  std::string text_;
  bool enabled_ = true;
  bool visible_ = true;
  bool hostVisible_ = true;

 private:
  void SyncWindow();
};

// The common members of the toolkit's control interface, over MemoryControl.
template <class Interface>
class ControlImpl : public Interface, public MemoryControl {
 public:
  using MemoryControl::MemoryControl;
  Control& AsControl() override { return *this; }
  WindowHandle Handle() const override { return window_; }
  void SetText(const std::string& text) override { text_ = text; }
  std::string Text() const override { return text_; }
  void SetEnabled(bool enabled) override { SetEnabledState(enabled); }
  bool Enabled() const override { return enabled_; }
  void SetVisible(bool visible) override { SetVisibleState(visible); }
  bool Visible() const override { return visible_; }
  void SetFocus() override { TakeFocus(); }
  Point ClientToScreen(Point p) const override { return ToScreen(p); }
};

class MemoryLabel final : public ControlImpl<Control> {
 public:
  MemoryLabel(const ControlSite& site, const LabelSpec& spec);
  const LabelSpec& spec() const { return spec_; }
  bool UserClick();
  bool UserMouseMove(Point client);

 private:
  LabelSpec spec_;
};

class MemoryButton final : public ControlImpl<Button> {
 public:
  MemoryButton(const ControlSite& site, const ButtonSpec& spec);
  const ButtonSpec& spec() const { return spec_; }
  void Click() override;
  void SetOnClick(Action onClick) override { spec_.onClick = std::move(onClick); }
  bool UserClick();

 private:
  ButtonSpec spec_;
};

class MemorySpeedButton final : public ControlImpl<Control> {
 public:
  MemorySpeedButton(const ControlSite& site, const SpeedButtonSpec& spec);
  const SpeedButtonSpec& spec() const { return spec_; }
  // A press starts a capture: moves and the release then arrive wherever the pointer is.
  bool UserMouseDown(MouseButton button, Point client);
  bool UserMouseMove(Point client);
  bool UserMouseUp(MouseButton button, Point client);
  bool UserMoveToScreen(Point screen) { return UserMouseMove(FromScreen(screen)); }
  bool UserReleaseAtScreen(Point screen, MouseButton button = MouseButton::Left) {
    return UserMouseUp(button, FromScreen(screen));
  }
  bool captured() const { return captured_; }

 private:
  SpeedButtonSpec spec_;
  bool captured_ = false;
  MouseButton held_ = MouseButton::Left;
};

class MemoryEdit final : public ControlImpl<Edit> {
 public:
  MemoryEdit(const ControlSite& site, const EditSpec& spec);
  const EditSpec& spec() const { return spec_; }
  void SetText(const std::string& text) override;
  std::string Text() const override { return edit_.text(); }
  void SelectAll() override { edit_.SelectAll(); }
  std::string TextUtf8() const override;
  void SetTextUtf8(const std::string& text) override;
  // What the screen shows: the password character for every character, if there is one.
  std::string DisplayText() const;
  const EditText& selection() const { return edit_; }
  // Typing replaces the selection, cut to the length limit (in characters).
  bool UserType(const std::string& text);
  // The same for UTF-8 text, which the code page may not hold: the edit keeps it exactly.
  bool UserTypeUtf8(const std::string& text);

 private:
  void OnMessage(const WindowMessage& message) override;
  // What of `text` fits in place of the selection under the length limit.
  std::string Fitting(const std::string& text) const;
  EditSpec spec_;
  // Hidden edits hold clipboard text and keep every line of it, as in the Win32 backend.
  EditText edit_{spec_.visible};
};

class MemoryMemo final : public ControlImpl<Memo> {
 public:
  MemoryMemo(const ControlSite& site, const MemoSpec& spec);
  const MemoSpec& spec() const { return spec_; }
  // The text is the lines, each ended by CR LF; setting it splits it at line breaks.
  void SetText(const std::string& text) override { edit_.Set(text); }
  std::string Text() const override { return edit_.text(); }
  void AppendLine(const std::string& line) override { AppendLines({line}); }
  void AppendLines(const std::vector<std::string>& lines) override;
  // How many times text was put into the box by appending.
  int insertions() const { return insertions_; }
  void Clear() override { edit_.Set({}); }
  std::vector<std::string> Lines() const override { return SplitLines(edit_.text()); }
  std::vector<std::string> LinesUtf8() const override { return SplitLines(edit_.TextUtf8()); }
  void SetTextUtf8(const std::string& text) override { edit_.SetUtf8(text); }
  void SetFontColor(Color color) override { fontColor_ = color; }
  Color FontColor() const override { return fontColor_; }
  void SelectAll() { edit_.SelectAll(); }
  // Typing replaces the selection; a read-only memo takes nothing.
  bool UserType(const std::string& text) { return UserTypeUtf8(Utf8FromLatin1(text)); }
  bool UserTypeUtf8(const std::string& text);

 private:
  void OnMessage(const WindowMessage& message) override;
  MemoSpec spec_;
  EditText edit_{false};
  Color fontColor_;
  int insertions_ = 0;
};

class MemoryRichEdit final : public ControlImpl<Control> {
 public:
  MemoryRichEdit(const ControlSite& site, const RichEditSpec& spec);
  const RichEditSpec& spec() const { return spec_; }
  Color textColor() const { return spec_.font.color; }

 private:
  RichEditSpec spec_;
};

}  // namespace platform
