#include "platform/unicode.h"

#include <gtest/gtest.h>

namespace {

using namespace platform;

// Every name the system can hold comes back to the same units, a lone surrogate too.
TEST(Unicode, Utf16RoundTripsThroughUtf8) {
  const std::u16string cases[] = {u"",         u"Run",    u"\u65E5\u672C",         u"\U0001F600",
                                  u"a\xD800z", u"\xDC00", std::u16string(1, u'\0')};
  for (const std::u16string& units : cases) EXPECT_EQ(Utf16FromUtf8(Utf8FromUtf16(units)), units);
  EXPECT_EQ(Utf8FromUtf16(u"\u00E9\U0001F600"), "\xC3\xA9\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf16FromUtf8("a\xFF"), u"a\xFFFD");
}

TEST(Unicode, Latin1HoldsEveryByteAndMarksWhatItCannot) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  std::string back;
  EXPECT_TRUE(Latin1FromUtf8(Utf8FromLatin1(all), back));
  EXPECT_EQ(back, all);
  EXPECT_FALSE(Latin1FromUtf8("C:\\\xD0\x96.exe", back));
  EXPECT_EQ(back, "C:\\?.exe");
}

}  // namespace
