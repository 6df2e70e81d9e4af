#include "http/cookie_merge.h"

#include <gtest/gtest.h>

#include "tests/support/case_name.h"

#include <string>
#include <string_view>

namespace vexa {
namespace {

struct MergeCase {
  const char* name;
  std::string oldCookies;
  std::string newCookies;
  std::string merged;
};

class MergeCookiesTest : public testing::TestWithParam<MergeCase> {};

TEST_P(MergeCookiesTest, ReturnsAndStoresTheMergedText) {
  Text cookies = GetParam().oldCookies;
  EXPECT_EQ(MergeCookies(cookies, GetParam().newCookies), GetParam().merged);
  EXPECT_EQ(cookies, GetParam().merged);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, MergeCookiesTest,
    testing::Values(MergeCase{"NewValueReplacesOld", "a=1; b=2", "b=3; c=4", "b=3; c=4; a=1"},
                    MergeCase{"DeletedRemovesOldPair", "a=1; b=2;", "b=deleted", "a=1"},
                    MergeCase{"DeletedNameAbsentFromOld", "a=1; b=2", "c=deleted; a=5", "a=5; b=2"},
                    MergeCase{"RepeatsInNewRemoved", "", "x=1; x=1; y=2", "x=1; y=2"},
                    MergeCase{"FirstOfOldNamesKept", "a=1; a=2", "", "a=1"},
                    MergeCase{"NewValuesOfOneNameAllKept", "", "a=1; a=2", "a=1; a=2"},
                    MergeCase{"NamesDifferByCase", " a = 1 ", "A=2", "A=2; a = 1"},
                    MergeCase{"OldDeletedPairDropped", "sid=deleted", "x=1", "x=1"},
                    MergeCase{"SemicolonWithoutBlankIsNoSeparator", "k=v", "a=1;b=2",
                              "a=1;b=2; k=v"},
                    MergeCase{"BothEmpty", "", "", ""}),
    testing_support::CaseName());

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, MergeCookiesTest,
    testing::Values(MergeCase{"FinalSemicolonsWithBlanks", "a=1; b=2;  ", "b=3; ", "b=3; a=1"},
                    MergeCase{"FinalSemicolonOnNewText", "a=1", "c=3;", "c=3; a=1"},
                    MergeCase{"FullWidthBlanksAroundText",
                              "\xA1\xA1"
                              "a=1;\xA1\xA1",
                              "b=2", "b=2; a=1"},
                    MergeCase{"EmptyOldPieceStays", "a=1; ; b=2", "c=3", "c=3; a=1; ; b=2"},
                    MergeCase{"EmptyNewPieceReplacesEmptyOldPiece", "a=1; ; b=2", "; c=3",
                              "; c=3; a=1; b=2"},
                    MergeCase{"DeletedTestIsExact", "a=1", "a=DELETED", "a=DELETED"},
                    MergeCase{"DeletedWithoutName", "a=1", "=deleted", "a=1"},
                    MergeCase{"DeletedNeedsEquals", "a=1", "deleted", "deleted; a=1"},
                    MergeCase{"NewRepeatsOfOneName", "a=0", "a=1; a=2; a=1", "a=1; a=2"},
                    MergeCase{"PairWithoutEqualsIsAllName", "flag; b=2", "flag=1", "flag=1; b=2"},
                    // The stray lead byte 0x90 swallows the ";" of the separator
                    // before the empty old pair, which must not end the result.
                    MergeCase{"StrayLeadByteBeforeEmptyLastPair", "; ", "x=\x90", "x=\x90"}),
    testing_support::CaseName());

TEST(MergeCookiesAliasingTest, NewTextMayViewTheOldText) {
  Text cookies = "a=1; a=2; b=deleted; c=3";
  EXPECT_EQ(MergeCookies(cookies, cookies), "a=1; a=2; c=3");
  EXPECT_EQ(cookies, "a=1; a=2; c=3");

  Text longer = "z=26; y=25; x=24";
  EXPECT_EQ(MergeCookies(longer, std::string_view(longer).substr(6, 4)), "y=25; z=26; x=24");
}

struct NameCase {
  const char* name;
  std::string pair;
  std::string cookieName;
};

class CookieNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(CookieNameTest, TakesTheTrimmedTextBeforeTheFirstEquals) {
  EXPECT_EQ(CookieName(GetParam().pair), GetParam().cookieName);
}

INSTANTIATE_TEST_SUITE_P(Cases, CookieNameTest,
                         testing::Values(NameCase{"Plain", "sid=abc", "sid"},
                                         NameCase{"Blanks", " a = 1 ", "a"},
                                         NameCase{"FullWidthBlanks", "\xA1\xA1k\xA1\xA1=v", "k"},
                                         NameCase{"FirstEqualsCounts", "a=b=c", "a"},
                                         NameCase{"NoEquals", " flag ", "flag"},
                                         NameCase{"EmptyName", "=v", ""},
                                         NameCase{"EmptyPair", "", ""}),
                         testing_support::CaseName());

TEST(CookieListHasNameTest, ComparesTrimmedNamesByteForByte) {
  const TextList pairs = {"a=1", " b = 2", "flag"};
  EXPECT_TRUE(CookieListHasName(pairs, "a"));
  EXPECT_TRUE(CookieListHasName(pairs, "b"));
  EXPECT_TRUE(CookieListHasName(pairs, "flag"));
  EXPECT_FALSE(CookieListHasName(pairs, "A"));
  EXPECT_FALSE(CookieListHasName(pairs, "1"));
  EXPECT_FALSE(CookieListHasName(pairs, ""));
  EXPECT_TRUE(CookieListHasName({"x=1", "=v"}, ""));
  EXPECT_FALSE(CookieListHasName({}, ""));
}

}  // namespace
}  // namespace vexa
