#include "platform/memory/memory_controls.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "platform/memory/memory_form.h"
#include "platform/unicode.h"

namespace platform {

MemoryControl::MemoryControl(const ControlSite& site, Bounds bounds, const char* className,
                             bool transparent, bool visible)
    : ui_(site.ui),
      form_(site.form),
      parentWindow_(site.parentWindow),
      bounds_(bounds),
      visible_(visible) {
  if (!className) return;
  WindowSpec spec;
  spec.className = className;
  spec.parent = parentWindow_;
  spec.rect = bounds;
  spec.visible = visible;
  spec.transparent = transparent;
  spec.proc = [this](const WindowMessage& m) { OnMessage(m); };
  window_ = ui_.desktop.AddWindow(std::move(spec));
}

MemoryControl::~MemoryControl() {
  form_.ForgetFocus(this);
  ui_.desktop.RemoveWindow(window_);
}

bool MemoryControl::OnScreen() const {
  if (!visible_ || !hostVisible_) return false;
  return ui_.desktop.IsShown(window_ ? window_ : parentWindow_);
}

bool MemoryControl::Reachable() const {
  if (!enabled_ || !OnScreen() || !ui_.AcceptsInput(form_)) return false;
  return ui_.desktop.IsEnabled(window_ ? window_ : parentWindow_);
}

Point MemoryControl::ToScreen(Point client) const {
  return ui_.desktop.ClientToScreen(parentWindow_,
                                    {bounds_.left + client.x, bounds_.top + client.y});
}

Point MemoryControl::FromScreen(Point screen) const {
  const Point origin = ToScreen({0, 0});
  return {screen.x - origin.x, screen.y - origin.y};
}

void MemoryControl::SetHostVisible(bool visible) {
  hostVisible_ = visible;
  SyncWindow();
}

void MemoryControl::SetEnabledState(bool enabled) {
  enabled_ = enabled;
  ui_.desktop.SetEnabled(window_, enabled);
}

void MemoryControl::SetVisibleState(bool visible) {
  visible_ = visible;
  SyncWindow();
}

void MemoryControl::SyncWindow() { ui_.desktop.SetVisible(window_, visible_ && hostVisible_); }

bool MemoryControl::focused() const { return form_.focusedControl() == this; }

void MemoryControl::TakeFocus() {
  // The real toolkit refuses to focus what cannot be seen or used.
  if (enabled_ && OnScreen()) form_.SetFocused(this);
}

void MemoryControl::OnMessage(const WindowMessage& message) {
  if (message.id == WindowMessageId::SetText) AsControl().SetText(message.text);
}

// A window that reports clicks, as under Win32: the point at a label finds the label.
MemoryLabel::MemoryLabel(const ControlSite& site, const LabelSpec& spec)
    : ControlImpl(site, spec.bounds, "Static", false), spec_(spec) {
  text_ = spec.caption;
}

bool MemoryLabel::UserClick() {
  if (!spec_.onClick || !Reachable()) return false;
  Fire(spec_.onClick);
  return true;
}

bool MemoryLabel::UserMouseMove(Point client) {
  if (!Reachable()) return false;
  Fire(spec_.onMouseMove, MouseEvent{MouseButton::Left, client});
  return true;
}

MemoryButton::MemoryButton(const ControlSite& site, const ButtonSpec& spec)
    : ControlImpl(site, spec.bounds, "Button", false), spec_(spec) {
  text_ = spec.caption;
  SetEnabledState(spec.enabled);
}

void MemoryButton::Click() { Fire(spec_.onClick); }

bool MemoryButton::UserClick() {
  if (!Reachable()) return false;
  Click();
  return true;
}

// A window of its own, as under Win32: a drop back on the button finds the button.
MemorySpeedButton::MemorySpeedButton(const ControlSite& site, const SpeedButtonSpec& spec)
    : ControlImpl(site, spec.bounds, "QuenlarControl", false), spec_(spec) {}

bool MemorySpeedButton::UserMouseDown(MouseButton button, Point client) {
  if (captured_ || !Reachable()) return false;
  captured_ = true;
  held_ = button;
  Fire(spec_.onMouseDown, MouseEvent{button, client});
  return true;
}

bool MemorySpeedButton::UserMouseMove(Point client) {
  // Without the capture a move only arrives over the button itself.
  const bool inside =
      client.x >= 0 && client.y >= 0 && client.x < bounds_.width && client.y < bounds_.height;
  if (!captured_ && !(inside && Reachable())) return false;
  Fire(spec_.onMouseMove, MouseEvent{held_, client});
  return true;
}

bool MemorySpeedButton::UserMouseUp(MouseButton button, Point client) {
  if (!captured_) return false;
  captured_ = false;
  Fire(spec_.onMouseUp, MouseEvent{button, client});
  return true;
}

MemoryEdit::MemoryEdit(const ControlSite& site, const EditSpec& spec)
    : ControlImpl(site, spec.bounds, "Edit", false, spec.visible), spec_(spec) {
  edit_.Set(spec.text);
}

std::string MemoryEdit::DisplayText() const {
  if (spec_.passwordChar == 0) return edit_.text();
  return std::string(edit_.text().size(), spec_.passwordChar);
}

std::string MemoryEdit::Fitting(const std::string& text) const {
  if (spec_.maxLength <= 0) return text;
  const std::size_t kept = edit_.text().size() - edit_.selLength();
  const std::size_t room = static_cast<std::size_t>(spec_.maxLength) > kept
                               ? static_cast<std::size_t>(spec_.maxLength) - kept
                               : 0;
  return text.substr(0, room);
}

void MemoryEdit::SetText(const std::string& text) { edit_.Set(text); }

std::string MemoryEdit::TextUtf8() const { return edit_.TextUtf8(); }

void MemoryEdit::SetTextUtf8(const std::string& text) { edit_.SetUtf8(text); }

bool MemoryEdit::UserType(const std::string& text) { return UserTypeUtf8(Utf8FromLatin1(text)); }

bool MemoryEdit::UserTypeUtf8(const std::string& text) {
  if (!Reachable()) return false;
  edit_.TypeUtf8(text, spec_.maxLength > 0 ? static_cast<std::size_t>(spec_.maxLength) : 0);
  return true;
}

void MemoryEdit::OnMessage(const WindowMessage& message) {
  switch (message.id) {
    case WindowMessageId::SetText: SetText(message.text); break;
    case WindowMessageId::Copy:
      // A password edit never gives its text away.
      if (spec_.passwordChar != 0) break;
      if (auto copied = edit_.Copy()) ui_.desktop.CopyText(*copied);
      break;
    case WindowMessageId::Paste:
      if (spec_.maxLength > 0) {
        // As the real control: a limited edit takes what fits of the first line.
        const auto clipboard = ui_.desktop.PasteText();
        if (!clipboard) break;
        std::string pasted = *clipboard;
        pasted = pasted.substr(0, pasted.find_first_of("\r\n"));
        edit_.ReplaceSelection(Fitting(pasted));
        break;
      }
      edit_.Paste(ui_.desktop.PasteText());
      break;
    default: break;
  }
}

MemoryMemo::MemoryMemo(const ControlSite& site, const MemoSpec& spec)
    : ControlImpl(site, spec.bounds, "Edit", false), spec_(spec), fontColor_(spec.font.color) {}

void MemoryMemo::AppendLines(const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  std::string text = edit_.text();
  if (!text.empty() && text.back() != '\n' && text.back() != '\r') text += "\r\n";
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  edit_.Set(std::move(text));
  ++insertions_;
}

bool MemoryMemo::UserTypeUtf8(const std::string& text) {
  if (spec_.readOnly || !Reachable()) return false;
  edit_.TypeUtf8(text, 0);
  return true;
}

void MemoryMemo::OnMessage(const WindowMessage& message) {
  switch (message.id) {
    case WindowMessageId::SetText:
      edit_.Set(message.text);  // read-only stops typing, not WM_SETTEXT
      break;
    case WindowMessageId::Copy:
      if (auto copied = edit_.Copy()) ui_.desktop.CopyText(*copied);
      break;
    case WindowMessageId::Paste:
      if (!spec_.readOnly) edit_.Paste(ui_.desktop.PasteText());
      break;
    default: break;
  }
}

MemoryRichEdit::MemoryRichEdit(const ControlSite& site, const RichEditSpec& spec)
    : ControlImpl(site, spec.bounds, "RichEdit20A", false), spec_(spec) {
  text_ = spec.text;
}

}  // namespace platform
