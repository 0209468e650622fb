#include "platform/memory/memory_edit_text.h"

#include <algorithm>
#include <utility>

namespace platform {

void EditText::Set(std::string text) {
  text_ = std::move(text);
  selStart_ = selLength_ = 0;
}

void EditText::SelectAll() {
  selStart_ = 0;
  selLength_ = text_.size();
}

void EditText::Select(std::size_t start, std::size_t length) {
  selStart_ = std::min(start, text_.size());
  selLength_ = std::min(length, text_.size() - selStart_);
}

void EditText::ReplaceSelection(const std::string& with) {
  text_.replace(selStart_, selLength_, with);
  selStart_ += with.size();
  selLength_ = 0;
}

std::optional<std::string> EditText::Copy() const {
  if (selLength_ == 0) return std::nullopt;
  return Selected();
}

void EditText::Paste(const std::optional<std::string>& clipboard) {
  if (!clipboard) return;
  std::string text = *clipboard;
  if (singleLine_) {
    // As the system's edit control does: the first line only, without its CR.
    if (auto lf = text.find('\n'); lf != std::string::npos) {
      text.resize(lf);
      if (!text.empty() && text.back() == '\r') text.pop_back();
    }
  }
  ReplaceSelection(text);
}

}  // namespace platform
