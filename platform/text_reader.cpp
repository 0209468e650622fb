#include "platform/text_reader.h"

namespace platform {

namespace {
constexpr char CarriageReturn = 13;
constexpr char LineFeed = 10;
constexpr char CtrlZ = 26;
}  // namespace

TextLineReader::TextLineReader(File& file, std::size_t blockSize)
    : file_(file), buffer_(blockSize ? blockSize : 1) {}

bool TextLineReader::Fill() {
  if (pos_ < len_) return true;
  if (ended_) return false;
  auto n = file_.Read(buffer_.data(), buffer_.size());
  pos_ = 0;
  len_ = 0;
  if (!n) {
    failed_ = true;
    ended_ = true;
    return false;
  }
  if (*n == 0) {
    ended_ = true;
    return false;
  }
  len_ = *n < buffer_.size() ? *n : buffer_.size();
  return true;
}

bool TextLineReader::Next(std::string& line) {
  line.clear();
  if (afterCr_) {
    afterCr_ = false;
    if (Fill() && buffer_[pos_] == LineFeed) ++pos_;
  }
  if (!Fill() || buffer_[pos_] == CtrlZ) {
    ended_ = true;
    pos_ = len_;
    line.clear();
    return false;
  }
  while (true) {
    std::size_t start = pos_;
    while (pos_ < len_ && buffer_[pos_] != CarriageReturn && buffer_[pos_] != CtrlZ) ++pos_;
    line.append(buffer_.data() + start, pos_ - start);
    if (pos_ < len_) {
      if (buffer_[pos_] == CarriageReturn) {
        ++pos_;
        afterCr_ = true;
      } else {  // Ctrl-Z: nothing after it is read
        ended_ = true;
        pos_ = len_;
      }
      return true;
    }
    if (!Fill()) {
      if (failed_) {
        line.clear();
        return false;
      }
      return true;  // the last line, without a line end
    }
  }
}

}  // namespace platform
