#include "text/text.h"

#include <gtest/gtest.h>

#include "tests/support/case_name.h"

#include <string>

namespace vexa {
namespace {

struct SplitCase {
  const char* name;
  std::string text;
  std::string separator;
  TextList pieces;
};

class SplitTextTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTextTest, CutsAtCharacterStarts) {
  EXPECT_EQ(SplitText(GetParam().text, GetParam().separator), GetParam().pieces);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitTextTest,
    testing::Values(
        SplitCase{"Plain", "a; b; c", "; ", {"a", "b", "c"}},
        SplitCase{"EmptyText", "", "; ", {}},
        SplitCase{"EmptySeparator", "a; b", "", {"a; b"}},
        SplitCase{"TrailingSeparatorGivesNoEmptyTail", "a; b; ", "; ", {"a", "b"}},
        SplitCase{"EmptyPiecesAtStartAndBetween", "; a; ; b", "; ", {"", "a", "", "b"}},
        SplitCase{"OnlySeparator", "; ", "; ", {""}},
        SplitCase{"SeparatorNeverAtSecondByte", "\xD5" "f" "x" "f", "f", {"\xD5" "fx"}},
        SplitCase{"LoneLeadByteAtEnd", "a.\xB0", ".", {"a", "\xB0"}},
        SplitCase{"CrLf", "a\r\n\r\nb\r\n", "\r\n", {"a", "", "b"}}),
    testing_support::CaseName());

TEST(TextTest, TrimRemovesAsciiAndFullWidthSpacesOnly) {
  EXPECT_EQ(Trim("  \xA1\xA1 x y \xA1\xA1 "), "x y");
  EXPECT_EQ(Trim("\tx\r\n"), "\tx\r\n");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim(""), "");
}

TEST(TextTest, CaseChangesSkipSecondBytes) {
  // 0xD5 0x66 is one character whose second byte is the letter f.
  EXPECT_EQ(AsciiUpper("\xD5" "f" "f"), "\xD5" "fF");
  EXPECT_EQ(AsciiLower("\xC4" "A" "A"), "\xC4" "Aa");
  EXPECT_EQ(AsciiLower("HTTPS://X.Y"), "https://x.y");
}

TEST(TextTest, ReplaceAllAndJoin) {
  EXPECT_EQ(ReplaceAll("a#b#", "#", "\""), "a\"b\"");
  EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(JoinTexts({"a", "", "b"}, "; "), "a; ; b");
}

}  // namespace
}  // namespace vexa
