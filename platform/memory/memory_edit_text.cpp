#include "platform/memory/memory_edit_text.h"

#include <algorithm>
#include <utility>

#include "platform/unicode.h"

namespace platform {

void EditText::Set(std::string text) {
  text_ = std::move(text);
  selStart_ = selLength_ = 0;
  exact_.clear();
}

namespace {

// A UTF-8 text cut into its characters.
std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> characters;
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t end = pos + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    characters.push_back(text.substr(pos, end - pos));
    pos = end;
  }
  return characters;
}

std::string CodePageForm(const std::string& utf8) {
  std::string bytes;
  Latin1FromUtf8(utf8, bytes);
  return bytes;
}

}  // namespace

std::string EditText::TextUtf8() const {
  if (!exact_.empty() && CodePageForm(exact_) == text_) return exact_;
  return Utf8FromLatin1(text_);
}

void EditText::SetUtf8(const std::string& utf8) {
  Set(CodePageForm(utf8));
  exact_ = utf8;
}

void EditText::TypeUtf8(const std::string& utf8, std::size_t limit) {
  std::vector<std::string> characters = Characters(TextUtf8());
  std::vector<std::string> typed = Characters(utf8);
  const std::size_t start = selStart_, length = selLength_;
  if (limit > 0) {
    const std::size_t kept = characters.size() - length;
    typed.resize(std::min(typed.size(), limit > kept ? limit - kept : 0));
  }
  characters.erase(characters.begin() + static_cast<std::ptrdiff_t>(start),
                   characters.begin() + static_cast<std::ptrdiff_t>(start + length));
  characters.insert(characters.begin() + static_cast<std::ptrdiff_t>(start), typed.begin(),
                    typed.end());
  std::string exact;
  for (const std::string& character : characters) exact += character;
  SetUtf8(exact);
  Select(start + typed.size(), 0);
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string current;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.push_back(current);
      current.clear();
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      current += text[i];
    }
  }
  if (!current.empty()) lines.push_back(current);
  return lines;
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
