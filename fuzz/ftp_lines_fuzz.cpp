// The ftp.ini line splitter on any bytes, read in any block size and with short or
// failing reads: the lines must be exactly what a plain one-pass split gives, and
// after a failed read, a prefix of them.
//
// Input: byte 0 picks the reader's block size, byte 1 the most one read returns,
// byte 2 the read that fails (0: none); the rest is the file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/text_reader.h"

namespace {

constexpr char Cr = 13;
constexpr char Lf = 10;
constexpr char CtrlZ = 26;

void Require(bool ok) {
  if (!ok) std::abort();
}

class BytesFile : public platform::File {
 public:
  BytesFile(std::string bytes, std::size_t maxRead, int failingRead)
      : bytes_(std::move(bytes)), maxRead_(maxRead), failingRead_(failingRead) {}

  std::optional<std::uint64_t> Size() override { return bytes_.size(); }
  std::optional<std::size_t> Read(void* buffer, std::size_t count) override {
    if (closed_ || ++reads_ == failingRead_) return std::nullopt;
    const std::size_t n = std::min({count, maxRead_, bytes_.size() - pos_});
    std::memcpy(buffer, bytes_.data() + pos_, n);
    pos_ += n;
    return n;
  }
  bool Close() override {
    closed_ = true;
    return true;
  }
  int reads() const { return reads_; }

 private:
  std::string bytes_;
  std::size_t maxRead_;
  int failingRead_;
  std::size_t pos_ = 0;
  int reads_ = 0;
  bool closed_ = false;
};

// The rules in one pass over the whole text.
std::vector<std::string> ReferenceLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t i = 0;
  bool afterCr = false;
  while (true) {
    if (afterCr && i < text.size() && text[i] == Lf) ++i;
    afterCr = false;
    if (i >= text.size() || text[i] == CtrlZ) break;
    const std::size_t start = i;
    while (i < text.size() && text[i] != Cr && text[i] != CtrlZ) ++i;
    lines.push_back(text.substr(start, i - start));
    if (i < text.size() && text[i] == Cr) {
      ++i;
      afterCr = true;
    } else {
      break;
    }
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const std::size_t blockSize = data[0] < 200 ? data[0] % 17 : std::size_t{data[0]} * 64;
  const std::size_t maxRead = data[1] == 0 ? SIZE_MAX : data[1];
  const int failingRead = data[2] % 8;
  const std::string text(reinterpret_cast<const char*>(data) + 3, size - 3);

  BytesFile file(text, maxRead, failingRead);
  platform::TextLineReader reader(file, blockSize);
  std::vector<std::string> lines;
  std::string line;
  std::size_t total = 0;
  while (reader.Next(line)) {
    Require(line.find(Cr) == std::string::npos);
    Require(line.find(CtrlZ) == std::string::npos);
    total += line.size();
    Require(total <= text.size());
    lines.push_back(line);
    Require(lines.size() <= text.size());
  }
  Require(!reader.Next(line) && line.empty());  // the end stays the end

  const std::vector<std::string> expected = ReferenceLines(text);
  if (!reader.failed()) {
    Require(lines == expected);
  } else {
    Require(failingRead != 0 && file.reads() >= failingRead);
    Require(lines.size() <= expected.size());
    Require(std::equal(lines.begin(), lines.end(), expected.begin()));
  }
  return 0;
}
