#include "text/page_conversion.h"

#include <gtest/gtest.h>

#include "tests/support/case_name.h"

#include <cstdint>
#include <random>
#include <string>

namespace vexa {
namespace {

using namespace std::string_literals;

struct ConversionCase {
  const char* name;
  std::string utf8;
  std::string gbk;
};

class Utf8ToAnsiTest : public testing::TestWithParam<ConversionCase> {};

TEST_P(Utf8ToAnsiTest, ConvertsAndAgreesWithTheTwoSteps) {
  const ConversionCase& row = GetParam();
  EXPECT_EQ(Utf8ToAnsi(row.utf8), row.gbk);
  EXPECT_EQ(FromUtf16(ToUtf16(row.utf8), kGbkCodePage), row.gbk);
}

// Invalid UTF-8 gives one U+FFFD per maximal ill-formed part, and U+FFFD, like
// every character code page 936 lacks, is written as "?".
INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8ToAnsiTest,
    testing::Values(
        ConversionCase{"EmptyText", "", ""},
        ConversionCase{"AsciiUnchanged", "<h2 class=\"t\">1080 x\t720</h2>\r\n~",
                       "<h2 class=\"t\">1080 x\t720</h2>\r\n~"},
        // "图集"
        ConversionCase{"TwoChineseCharacters", "\xE5\x9B\xBE\xE9\x9B\x86", "\xCD\xBC\xBC\xAF"},
        ConversionCase{"ChineseBetweenAscii", "a\xE5\x9B\xBE" "b", "a\xCD\xBC" "b"},
        ConversionCase{"LoneLeadBeforeLetter", "\xC3" "a", "?a"},
        ConversionCase{"NulEndsThePage", "ab\0\xE5\x9B\xBE"s, "ab"},
        ConversionCase{"NulFirst", "\0ab"s, ""},
        ConversionCase{"TruncatedAtEnd", "a\xE5\x9B", "a?"},
        ConversionCase{"TruncatedBeforeAscii", "\xE5\x9B" "a", "?a"},
        ConversionCase{"TruncatedFourByte", "\xF0\x9F\x98" "a", "?a"},
        ConversionCase{"InterruptedByAscii", "\xE5" "a\x9B\xBE", "?a??"},
        ConversionCase{"LoneContinuationBytes", "\x80\xBF" "a", "??a"},
        ConversionCase{"OverlongTwoByteNul", "\xC0\x80", "??"},
        ConversionCase{"OverlongTwoByteSlash", "\xC1\xBF", "??"},
        ConversionCase{"OverlongThreeByte", "\xE0\x80\xAF", "???"},
        ConversionCase{"OverlongFourByte", "\xF0\x80\x80\xAF", "????"},
        ConversionCase{"EncodedHighSurrogate", "\xED\xA0\x80", "???"},
        ConversionCase{"EncodedSurrogatePair", "\xED\xA0\xBD\xED\xB8\x80", "??????"},
        ConversionCase{"AboveLastCodePoint", "\xF4\x90\x80\x80", "????"},
        ConversionCase{"NeverValidBytes", "\xF5\xFE\xFF", "???"},
        ConversionCase{"ReplacementCharacterItself", "\xEF\xBF\xBD", "?"},
        ConversionCase{"CopyrightSignLacking", "\xC2\xA9" "2019", "?2019"},
        ConversionCase{"OutsideBasicPlane", "\xF0\x9F\x98\x80", "?"},
        // The euro sign takes the single byte 0x80.
        ConversionCase{"EuroSign", "\xE2\x82\xAC", "\x80"},
        // Windows' table fills code page 936 holes with private-use characters.
        ConversionCase{"PrivateUseCharacter", "\xEE\x97\xA5", "\xA3\xA0"}),
    testing_support::CaseName());

TEST(PageConversionTest, OnePassEqualsTwoStepsOnArbitraryBytes) {
  std::mt19937 random(936);
  std::string page;
  // Every pair of non-NUL bytes, then noise weighted towards UTF-8 lead and
  // continuation bytes, so sequences are cut at every kind of point.
  for (int first = 1; first < 256; ++first) {
    for (int second = 1; second < 256; ++second) {
      page.push_back(static_cast<char>(first));
      page.push_back(static_cast<char>(second));
    }
  }
  std::uniform_int_distribution<int> byte(1, 255);
  std::uniform_int_distribution<int> highByte(0x80, 0xF7);
  for (int i = 0; i < 200000; ++i) {
    page.push_back(static_cast<char>(i % 3 == 0 ? byte(random) : highByte(random)));
  }
  EXPECT_EQ(Utf8ToAnsi(page), FromUtf16(ToUtf16(page), kGbkCodePage));
}

TEST(PageConversionTest, ToUtf16GivesLittleEndianUnitsAndOneZeroUnit) {
  // "图" is U+56FE.
  EXPECT_EQ(ToUtf16("a\xE5\x9B\xBE"), (ByteBuffer{'a', 0, 0xFE, 0x56, 0, 0}));
  EXPECT_EQ(ToUtf16("\xF0\x9F\x98\x80"), (ByteBuffer{0x3D, 0xD8, 0x00, 0xDE, 0, 0}));
  EXPECT_EQ(ToUtf16(""), (ByteBuffer{0, 0}));
  EXPECT_EQ(ToUtf16("a\0b"s), (ByteBuffer{'a', 0, 0, 0}));
}

TEST(PageConversionTest, ToUtf16ReadsTheCodePageAsked) {
  const ByteBuffer picture{0xFE, 0x56, 0, 0};
  EXPECT_EQ(ToUtf16("\xCD\xBC", kGbkCodePage), picture);
  EXPECT_EQ(ToUtf16("\xCD\xBC", kAnsiCodePage), picture);
  EXPECT_EQ(ToUtf16("\x80", 1252), (ByteBuffer{0xAC, 0x20, 0, 0}));
  EXPECT_EQ(ToUtf16("a", 12345), ByteBuffer{});
  EXPECT_EQ(ToUtf16("a", -1), ByteBuffer{});
}

TEST(PageConversionTest, FromUtf16StopsAtTheFirstZeroUnit) {
  EXPECT_EQ(FromUtf16({}), "");
  EXPECT_EQ(FromUtf16({'a', 0, 0, 0, 'b', 0, 0, 0}), "a");
  EXPECT_EQ(FromUtf16({'a', 0, 'b', 0}), "ab");
  EXPECT_EQ(FromUtf16({'a', 0, 'b'}), "a");
}

TEST(PageConversionTest, FromUtf16WritesTheCodePageAsked) {
  const ByteBuffer copyright{0xA9, 0x00, 0, 0};
  EXPECT_EQ(FromUtf16({0xFE, 0x56, 0, 0}), "\xCD\xBC");
  EXPECT_EQ(FromUtf16(copyright), "?");
  // UTF-8 needs more than twice the bytes the ANSI code page would.
  EXPECT_EQ(FromUtf16(copyright, kUtf8CodePage), "\xC2\xA9");
  EXPECT_EQ(FromUtf16({0xAC, 0x20, 0, 0}, 1252), "\x80");
  EXPECT_EQ(FromUtf16({'a', 0, 0, 0}, 12345), "");
}

TEST(PageConversionTest, LoneSurrogateUnitsBecomeQuestionMarks) {
  EXPECT_EQ(FromUtf16({0x3D, 0xD8, 'a', 0, 0x00, 0xDE, 0, 0}), "?a?");
}

}  // namespace
}  // namespace vexa
