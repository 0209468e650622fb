#include "platform/text_reader.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/memory/memory_files.h"

using platform::FileAccess;
using platform::FileShare;
using platform::MemoryFiles;
using platform::TextLineReader;

namespace {

using Lines = std::vector<std::string>;

struct Reading {
  Lines lines;
  bool failed = false;
};

Reading ReadLines(MemoryFiles& fs, std::size_t block_size) {
  auto f = fs.Open("C:\\ftp.ini", FileAccess::Read, FileShare::ReadWrite);
  EXPECT_TRUE(f);
  Reading r;
  if (!f) return r;
  TextLineReader reader(*f, block_size);
  std::string line;
  while (reader.Next(line)) r.lines.push_back(line);
  r.failed = reader.failed();
  EXPECT_FALSE(reader.Next(line));  // the end stays the end
  return r;
}

Reading ReadText(const std::string& text, std::size_t block_size) {
  MemoryFiles fs;
  fs.AddFile("C:\\ftp.ini", text);
  return ReadLines(fs, block_size);
}

struct SplitCase {
  std::string text;
  Lines lines;
};

// Every case at several block sizes, so each line end also falls across a block edge.
TEST(TextLineReader, SplitsLinesByTheRules) {
  const std::vector<SplitCase> cases = {
      {"", {}},
      {"abc", {"abc"}},
      {"abc\r", {"abc"}},
      {"abc\r\r", {"abc", ""}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"\r\n", {""}},
      {"\r\n\r\n", {"", ""}},
      {"a\nb\n", {"a\nb\n"}},      // a lone line feed is an ordinary character
      {"a\r\n\nb", {"a", "\nb"}},  // only the first line feed after a CR is skipped
      {"a\n\r", {"a\n"}},
      {"a\rb\r\nc", {"a", "b", "c"}},
      {std::string("a\0b\rc\xFF", 6), {std::string("a\0b", 3), "c\xFF"}},
      // Ctrl-Z ends the file wherever it stands.
      {"\x1a", {}},
      {"\x1a"
       "abc\r",
       {}},
      {"site=x\x1a", {"site=x"}},
      {"a\rb\x1a"
       "c\rd",
       {"a", "b"}},
      {"a\r\x1a", {"a"}},
      {"a\r\n\x1a\r\nb", {"a"}},
      {"a\r\r\x1a", {"a", ""}},
      {"a\n\x1a\n", {"a\n"}},
  };
  for (std::size_t block : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{0},
                            TextLineReader::DefaultBlockSize}) {
    for (const SplitCase& c : cases) {
      Reading r = ReadText(c.text, block);
      EXPECT_EQ(r.lines, c.lines) << "block " << block << ", text \"" << c.text << "\"";
      EXPECT_FALSE(r.failed);
    }
  }
}

TEST(TextLineReader, CrAtTheEndOfABlockAndLfAtTheStartOfTheNext) {
  // Block of 4: "abc\r" | "\ndef" | "\r\n"
  EXPECT_EQ(ReadText("abc\r\ndef\r\n", 4).lines, (Lines{"abc", "def"}));
  // The CR ends the file's last block; the next read finds the end.
  EXPECT_EQ(ReadText("abc\r", 4).lines, (Lines{"abc"}));
  // Block of 4: "abc\r" | "\x1a"
  EXPECT_EQ(ReadText("abc\r\x1a", 4).lines, (Lines{"abc"}));
}

TEST(TextLineReader, LinesLongerThanManyBlocksComeWhole) {
  const std::string long_line(300 * 1024, 'x');
  Reading r = ReadText(long_line + "\r\n" + long_line + "y", TextLineReader::DefaultBlockSize);
  ASSERT_EQ(r.lines.size(), 2u);
  EXPECT_EQ(r.lines[0], long_line);
  EXPECT_EQ(r.lines[1], long_line + "y");
  EXPECT_EQ(ReadText(long_line, 7).lines, Lines{long_line});
}

TEST(TextLineReader, NothingIsReadAfterCtrlZ) {
  MemoryFiles fs;
  fs.AddFile("C:\\ftp.ini", "a\x1a" + std::string(100, 'b'));
  EXPECT_EQ(ReadLines(fs, 1).lines, Lines{"a"});
  EXPECT_EQ(fs.faults().CallCount("Read"), 2u);
}

TEST(TextLineReader, ReadFailureIsReportedAndDropsThePartialLine) {
  struct FailCase {
    std::string text;
    std::size_t block;
    int failing_read;
    Lines lines;
  };
  const std::vector<FailCase> cases = {
      {"site=x", 64, 1, {}},           {"ab\rcd", 2, 2, {}},  // inside the first line
      {"ab\rcd", 3, 2, {"ab"}},                               // at the start of the second
      {"ab\r\ncd", 3, 2, {"ab"}},       // while looking for the line feed after a CR
      {"ab\rcd", 64, 2, {"ab"}},        // while looking for the end: the last line may be cut
      {"ab\rcd", 64, 3, {"ab", "cd"}},  // the end was found before any read failed
  };
  for (const FailCase& c : cases) {
    MemoryFiles fs;
    fs.AddFile("C:\\ftp.ini", c.text);
    fs.faults().Arm({c.failing_read, true, platform::FaultKind::Fail, "Read"});
    Reading r = ReadLines(fs, c.block);
    EXPECT_EQ(r.lines, c.lines) << c.text << " block " << c.block;
    EXPECT_EQ(r.failed, c.lines.size() != 2) << c.text << " block " << c.block;
  }
}

}  // namespace
