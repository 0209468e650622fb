// The text and selection of an edit control, and what WM_COPY and WM_PASTE do to them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace platform {

class EditText {
 public:
  explicit EditText(bool singleLine) : singleLine_(singleLine) {}

  const std::string& text() const { return text_; }
  // Setting the text leaves an empty selection at its start.
  void Set(std::string text);
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
};

}  // namespace platform
