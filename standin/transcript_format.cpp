#include "standin/transcript_format.h"

namespace transcript {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads a quoted text starting at line[pos] == '"'; on success pos is past the closing quote.
bool ReadQuoted(std::string_view line, size_t& pos, std::string& out) {
  ++pos;
  while (pos < line.size()) {
    char c = line[pos++];
    if (c == '"') return true;
    if (c != '\\') {
      out += c;
      continue;
    }
    if (pos >= line.size()) return false;
    char e = line[pos++];
    switch (e) {
      case '\\': out += '\\'; break;
      case '"': out += '"'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case 'x': {
        if (pos + 2 > line.size()) return false;
        int hi = HexValue(line[pos]), lo = HexValue(line[pos + 1]);
        if (hi < 0 || lo < 0) return false;
        out += static_cast<char>(hi * 16 + lo);
        pos += 2;
        break;
      }
      default: return false;
    }
  }
  return false;  // no closing quote
}

}  // namespace

std::string Quote(std::string_view bytes) {
  static const char Hex[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() + 2);
  out += '"';
  for (char ch : bytes) {
    auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c >= 0x20 && c <= 0x7e) {
          out += static_cast<char>(c);
        } else {
          out += "\\x";
          out += Hex[c >> 4];
          out += Hex[c & 15];
        }
    }
  }
  out += '"';
  return out;
}

std::optional<Event> ParseLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::vector<std::string> tokens;
  size_t pos = 0;
  while (pos < line.size()) {
    if (!tokens.empty()) {
      if (line[pos] != ' ') return std::nullopt;
      ++pos;
    }
    std::string token;
    if (pos < line.size() && line[pos] == '"') {
      if (!ReadQuoted(line, pos, token)) return std::nullopt;
    } else {
      size_t end = line.find(' ', pos);
      if (end == std::string_view::npos) end = line.size();
      token.assign(line.substr(pos, end - pos));
      if (token.empty() || token.find('"') != std::string::npos) return std::nullopt;
      pos = end;
    }
    tokens.push_back(std::move(token));
  }
  if (tokens.size() < 2) return std::nullopt;
  Event event;
  event.kind = std::move(tokens[0]);
  event.time = std::move(tokens[1]);
  event.fields.assign(std::make_move_iterator(tokens.begin() + 2),
                      std::make_move_iterator(tokens.end()));
  return event;
}

std::vector<Event> ParseAll(std::string_view text) {
  std::vector<Event> events;
  // A last line without its line feed may still be being written: it does not count yet.
  size_t end;
  while ((end = text.find('\n')) != std::string_view::npos) {
    if (auto event = ParseLine(text.substr(0, end))) events.push_back(std::move(*event));
    text.remove_prefix(end + 1);
  }
  return events;
}

}  // namespace transcript
