// Text controls: single-line edits, memos and the rich edit.
#include <windows.h>
#include <richedit.h>

#include <memory>

#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_wide.h"

namespace platform::win32 {

namespace {

constexpr COLORREF White = RGB(255, 255, 255);

// The window's text through the wide call, as UTF-8.
std::string WideText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return Utf8FromWide(text);
}

// Lines end at CR LF, a lone CR or a lone LF; a break at the very end adds no line.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// No 32K cut-off: a memo keeps growing, and a clipboard holder must take what it is given.
void LiftTextLimit(HWND window) { SendMessageA(window, EM_SETLIMITTEXT, 0, 0); }

// Hidden edits hold clipboard text. A single-line edit keeps only the first line of a
// pasted text, so they are multi-line windows: pasting and copying keep every line.
class EditControl final : public WindowControl<Edit> {
 public:
  EditControl(Surface& host, const EditSpec& spec) : WindowControl(host) {
    DWORD style = ES_AUTOHSCROLL;  // without it a paste is cut to the edit's width
    if (spec.visible)
      style |= WS_VISIBLE;
    else
      style |= ES_MULTILINE | ES_AUTOVSCROLL;
    if (spec.passwordChar) style |= ES_PASSWORD;
    // The text comes after the limit: an edit refuses to be created with more than its
    // default 32K characters.
    // What the player types is kept whole; the hidden clipboard holders stay 8-bit.
    AttachNative(host.CreateChild("EDIT", "", style, WS_EX_CLIENTEDGE, spec.bounds,
                                  spec.tabOrder < 0 ? 0 : spec.tabOrder, nullptr, nullptr,
                                  spec.visible));
    if (spec.maxLength > 0)
      SendMessageA(window(), EM_LIMITTEXT, static_cast<WPARAM>(spec.maxLength), 0);
    else
      LiftTextLimit(window());
    if (!spec.text.empty()) SetWindowTextA(window(), spec.text.c_str());
    password_ = spec.passwordChar != 0;
    if (spec.passwordChar)
      SendMessageA(window(), EM_SETPASSWORDCHAR,
                   static_cast<WPARAM>(static_cast<unsigned char>(spec.passwordChar)), 0);
  }

  void SelectAll() override { SendMessageA(window(), EM_SETSEL, 0, -1); }

  std::string TextUtf8() const override { return WideText(window()); }
  void SetTextUtf8(const std::string& text) override {
    SetWindowTextW(window(), WideFromUtf8(text).c_str());
  }

  // Windows gives nothing of a password field to the clipboard; Wine's edit would.
  bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override {
    if ((message != WM_COPY && message != WM_CUT) || !password_) return false;
    result = 0;
    return true;
  }

 private:
  bool password_ = false;
};

class MemoControl final : public WindowControl<Memo> {
 public:
  MemoControl(Surface& host, const MemoSpec& spec) : WindowControl(host), color_(spec.font.color) {
    DWORD style = WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL;
    if (spec.scrollBars) style |= WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL;
    style |= spec.readOnly ? ES_READONLY : ES_WANTRETURN;
    // An editable memo keeps what the player types whole; the log stays 8-bit.
    AttachNative(host.CreateChild("EDIT", "", style, WS_EX_CLIENTEDGE, spec.bounds,
                                  spec.tabOrder < 0 ? 0 : spec.tabOrder, host.ui().Font(spec.font),
                                  nullptr, !spec.readOnly));
    LiftTextLimit(window());
  }

  void AppendLine(const std::string& line) override { AppendLines({line}); }

  // Every line ends in CR LF, so an empty line appended stays a line of its own. One
  // replace-selection for all the lines: each one costs a re-layout of the whole box.
  void AppendLines(const std::vector<std::string>& lines) override {
    if (lines.empty()) return;
    std::string text = Text();
    bool breakFirst = !text.empty() && text.back() != '\n' && text.back() != '\r';
    std::string added = breakFirst ? "\r\n" : "";
    for (const std::string& line : lines) {
      added += line;
      added += "\r\n";
    }
    auto end = static_cast<WPARAM>(GetWindowTextLengthA(window()));
    SendMessageA(window(), EM_SETSEL, end, static_cast<LPARAM>(end));
    SendMessageA(window(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(added.c_str()));
    SendMessageA(window(), EM_SCROLLCARET, 0, 0);
  }

  void Clear() override { SetWindowTextA(window(), ""); }

  std::vector<std::string> Lines() const override { return SplitLines(Text()); }
  std::vector<std::string> LinesUtf8() const override { return SplitLines(WideText(window())); }
  void SetTextUtf8(const std::string& text) override {
    SetWindowTextW(window(), WideFromUtf8(text).c_str());
  }

  void SetFontColor(Color color) override {
    color_ = color;
    InvalidateRect(window(), nullptr, TRUE);
  }
  Color FontColor() const override { return color_; }

  // A read-only edit asks with WM_CTLCOLORSTATIC, an editable one with WM_CTLCOLOREDIT.
  HBRUSH OnColor(HDC dc) override {
    SetTextColor(dc, host().ui().Resolve(color_, COLOR_WINDOWTEXT));
    SetBkColor(dc, White);
    return host().ui().Brush(White);
  }

 private:
  Color color_;
};

// A rich edit when the system has one, else a multi-line edit that looks the same.
class RichEditControl final : public WindowControl<Control> {
 public:
  RichEditControl(Surface& host, const RichEditSpec& spec)
      : WindowControl(host), color_(host.ui().Resolve(spec.font.color, COLOR_WINDOWTEXT)) {
    const char* windowClass = host.ui().RichEditClass();
    rich_ = *windowClass != '\0';
    if (!rich_) windowClass = "EDIT";
    DWORD style = WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL;
    if (spec.readOnly) style |= ES_READONLY;
    if (spec.scrollBars) style |= WS_VSCROLL | (spec.wordWrap ? 0 : WS_HSCROLL);
    if (!spec.wordWrap) style |= ES_AUTOHSCROLL;
    AttachNative(host.CreateChild(windowClass, "", style, WS_EX_CLIENTEDGE, spec.bounds, -1,
                                  host.ui().Font(spec.font)));
    if (rich_) {
      SendMessageA(window(), EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
      SendMessageA(window(), EM_SETTARGETDEVICE, 0, spec.wordWrap ? 0 : 1);
    } else {
      LiftTextLimit(window());
    }
    SetText(spec.text);
  }

  void SetText(const std::string& text) override {
    SetWindowTextA(window(), text.c_str());
    if (rich_) ApplyColor();
  }

  HBRUSH OnColor(HDC dc) override {
    if (rich_) return nullptr;
    SetTextColor(dc, color_);
    SetBkColor(dc, White);
    return host().ui().Brush(White);
  }

 private:
  void ApplyColor() {
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR;
    format.crTextColor = color_;
    SendMessageA(window(), EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    SendMessageA(window(), EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
  }

  COLORREF color_;
  bool rich_ = false;
};

}  // namespace

Edit& AddEditTo(Surface& host, const EditSpec& spec) {
  return host.Adopt(std::make_unique<EditControl>(host, spec));
}

Memo& AddMemoTo(Surface& host, const MemoSpec& spec) {
  return host.Adopt(std::make_unique<MemoControl>(host, spec));
}

Control& AddRichEditTo(Surface& host, const RichEditSpec& spec) {
  return host.Adopt(std::make_unique<RichEditControl>(host, spec));
}

}  // namespace platform::win32
