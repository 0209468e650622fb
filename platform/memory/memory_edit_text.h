// The text and selection of an edit control, and what WM_COPY and WM_PASTE do to them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace platform {

class EditText {
 public:
  explicit EditText(bool singleLine) : singleLine_(singleLine) {}

  // The code-page text, as the 8-bit calls see it.
  const std::string& text() const { return text_; }
  // Setting the text leaves an empty selection at its start.
  void Set(std::string text);
  // The text as typed, in UTF-8: exact where it was typed or set so, while nothing else
  // has changed it since; else the code-page text as UTF-8.
  std::string TextUtf8() const;
  void SetUtf8(const std::string& utf8);
  // Typing UTF-8 text in place of the selection, cut to `limit` characters in all (0: no
  // limit); the caret goes after it.
  void TypeUtf8(const std::string& utf8, std::size_t limit);
  void SelectAll();
  void Select(std::size_t start, std::size_t length);
  std::size_t selStart() const { return selStart_; }
  std::size_t selLength() const { return selLength_; }
  std::string Selected() const { return text_.substr(selStart_, selLength_); }
  // Replaces the selection, leaving the caret after the new text.
  void ReplaceSelection(const std::string& with);
  // WM_COPY: the selected text for the clipboard, or nothing for an empty selection.
  std::optional<std::string> Copy() const;
  // WM_PASTE: a single-line edit takes the clipboard text up to its first line break.
  void Paste(const std::optional<std::string>& clipboard);

 private:
  bool singleLine_;
  std::string text_;
  std::size_t selStart_ = 0;
  std::size_t selLength_ = 0;
  std::string exact_;
};

// The lines of a text: CR LF, a lone LF or a lone CR each end one; a last break adds none.
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace platform
