// Reads a text file line by line, in blocks, with the line rules of old DOS text files:
// a line ends at a carriage return, and a line feed directly after it is skipped; any
// other line feed is an ordinary character. A Ctrl-Z ends the file wherever it stands:
// the text before it on its line is the last line. The last line needs no line end,
// and an empty file has no lines. Lines may be of any length.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/files.h"

namespace platform {

class TextLineReader {
 public:
  static constexpr std::size_t DefaultBlockSize = 64 * 1024;

  // The file stays the caller's to close. A block size of 0 is taken as 1.
  explicit TextLineReader(File& file, std::size_t blockSize = DefaultBlockSize);

  // The next line, without its line end. False at the end of the text or when a read
  // fails (then failed() is true and the line being read is dropped).
  bool Next(std::string& line);
  bool failed() const { return failed_; }

 private:
  // Makes at least one unread byte available; false at the end or on failure.
  bool Fill();

  File& file_;
  std::vector<char> buffer_;
  std::size_t pos_ = 0;
  std::size_t len_ = 0;
  bool ended_ = false;  // no more text: the end of the file, a Ctrl-Z, or a failure
  bool failed_ = false;
  bool afterCr_ = false;  // the last line ended at a CR; a line feed next is skipped
};

}  // namespace platform
