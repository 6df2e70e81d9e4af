#include "text/marker_search.h"

#include <gtest/gtest.h>

#include "tests/support/case_name.h"

#include <algorithm>
#include <limits>
#include <string>

namespace vexa {
namespace {

// "#引号" as the text itself, not as a marker.
const std::string kPlaceholderText(QuotePlaceholder);
const std::string kShuo = "\xD5\x66";          // "說": its second byte is the letter f
const std::string kZhong = "\xD6\xD0";         // "中"
const std::string kOpenBracket = "\xA1\xBE";   // "【"
const std::string kCloseBracket = "\xA1\xBF";  // "】"

struct SearchCase {
  const char* name;
  std::string text;
  std::string marker;
  Position start;
  bool caseInsensitive;
  Position expected;
};

class FindForwardTest : public testing::TestWithParam<SearchCase> {};

TEST_P(FindForwardTest, FindsFirstMatchAtCharacterStart) {
  const SearchCase& row = GetParam();
  EXPECT_EQ(FindForward(row.text, row.marker, row.start, row.caseInsensitive), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindForwardTest,
    testing::Values(SearchCase{"FirstMatch", "a.b.c", ".", 1, false, 2},
                    SearchCase{"FromStart", "a.b.c", ".", 3, false, 4},
                    SearchCase{"MatchAtStartItself", "a.b.c", ".", 2, false, 2},
                    SearchCase{"ZeroStartCountsAsOne", "a.b.c", ".", 0, false, 2},
                    SearchCase{"NegativeStartCountsAsOne", "a.b.c", ".", -5, false, 2},
                    SearchCase{"StartAtLastByte", "abc", "c", 3, false, 3},
                    SearchCase{"StartBeyondEnd", "abc", "c", 4, false, -1},
                    SearchCase{"Absent", "abc", "x", 1, false, -1},
                    SearchCase{"MarkerRunsPastEnd", "abc", "bcd", 1, false, -1},
                    SearchCase{"EmptyMarkerAtFirstConsideredByte", "abc", "", 2, false, 2},
                    SearchCase{"EmptyMarkerBeyondEnd", "abc", "", 4, false, -1},
                    SearchCase{"EmptyMarkerInEmptyText", "", "", 1, false, -1},
                    SearchCase{"NeverAtSecondByte", kShuo + "f", "f", 1, false, 3},
                    SearchCase{"StartByteCountsAsCharacterStart", kShuo + "f", "f", 2, false, 2},
                    SearchCase{"TwoByteMarker", "a" + kZhong + "b", kZhong, 1, false, 2},
                    SearchCase{"PairAcrossTwoCharactersIsNoMatch", "\xB0\xA1\xA1\xB0", "\xA1\xA1",
                               1, false, -1},
                    SearchCase{"LoneLeadByteAtEnd", "ab\xB0", "\xB0", 1, false, 3},
                    SearchCase{"OverlappingPrefix", "aaab", "aab", 1, false, 2},
                    SearchCase{"RepeatedPartialMatch", "abababc", "ababc", 1, false, 3},
                    SearchCase{"CaseSensitiveByDefault", "Key:v", "key:", 1, false, -1},
                    SearchCase{"CaseInsensitiveAsciiLetters", "Key:v", "key:", 1, true, 1},
                    SearchCase{"CaseInsensitiveFoldsOnlyAscii", "\xC1\xA1", "\xE1\xA1", 1, true,
                               -1}),
    testing_support::CaseName());

class FindBackwardTest : public testing::TestWithParam<SearchCase> {};

TEST_P(FindBackwardTest, FindsLastMatchInsideFirstBytes) {
  const SearchCase& row = GetParam();
  EXPECT_EQ(FindBackward(row.text, row.marker, row.start, row.caseInsensitive), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindBackwardTest,
    testing::Values(SearchCase{"LastMatchWins", "a.b.c", ".", 6, false, 4},
                    SearchCase{"OnlyFirstStartMinusOneBytes", "a.b.c", ".", 4, false, 2},
                    SearchCase{"MarkerMustLieInside", "abcd", "cd", 4, false, -1},
                    SearchCase{"MarkerEndingAtLastConsideredByte", "abcd", "cd", 5, false, 3},
                    SearchCase{"StartBeyondLengthSearchesAll", "a.b.c", ".", 100, false, 4},
                    SearchCase{"StartOneConsidersNothing", "a.b.c", "a", 1, false, -1},
                    SearchCase{"NegativeStartConsidersNothing", "a.b.c", "a", -3, false, -1},
                    SearchCase{"EmptyMarkerAtOne", "abc", "", 3, false, 1},
                    SearchCase{"EmptyMarkerEmptyRange", "abc", "", 1, false, -1},
                    SearchCase{"EmptyMarkerEmptyText", "", "", 5, false, -1},
                    SearchCase{"NeverAtSecondByte", kShuo + "x", "f", 4, false, -1},
                    SearchCase{"SkipsSecondByteForEarlierMatch", "f" + kShuo, "f", 4, false, 1},
                    SearchCase{"CaseSensitiveByDefault", "xA", "a", 3, false, -1},
                    SearchCase{"CaseInsensitiveAsciiLetters", "a.A", "a", 4, true, 3}),
    testing_support::CaseName());

// Direct reading of the search rules, one candidate at a time.
Position ReferenceSearch(std::string_view text, std::string_view marker, Position start,
                         bool caseInsensitive, bool backward) {
  std::size_t from = 0;
  std::size_t end = text.size();
  if (backward) {
    if (start <= 1) {
      return kNotFound;
    }
    end = std::min<std::size_t>(static_cast<std::size_t>(start - 1), text.size());
  } else {
    from = static_cast<std::size_t>(std::max<Position>(start, 1) - 1);
  }
  if (from >= end) {
    return kNotFound;
  }
  Position found = kNotFound;
  for (std::size_t at = from; at < end; at += CharacterLength(text, at)) {
    bool same = at + marker.size() <= end;
    for (std::size_t k = 0; same && k < marker.size(); ++k) {
      same = caseInsensitive ? AsciiEqualIgnoreCase(text[at + k], marker[k])
                             : text[at + k] == marker[k];
    }
    if (same) {
      found = static_cast<Position>(at) + 1;
      if (!backward || marker.empty()) {
        return found;
      }
    }
  }
  return found;
}

// Spells number `n` in base `alphabet.size()`, `length` letters long.
std::string Spell(std::size_t n, std::size_t length, std::string_view alphabet) {
  std::string word;
  for (std::size_t i = 0; i < length; ++i, n /= alphabet.size()) {
    word += alphabet[n % alphabet.size()];
  }
  return word;
}

TEST(MarkerSearchTest, AgreesWithCandidateByCandidateSearch) {
  const std::string alphabet = "aA\xD5\x80";
  const std::string markerAlphabet = "aA\xD5";
  for (std::size_t length = 0; length <= 5; ++length) {
    std::size_t texts = 1;
    for (std::size_t i = 0; i < length; ++i) {
      texts *= alphabet.size();
    }
    for (std::size_t t = 0; t < texts; ++t) {
      const std::string text = Spell(t, length, alphabet);
      for (std::size_t m = 0; m < 1 + 3 + 9; ++m) {
        const std::size_t markerLength = m == 0 ? 0 : m < 4 ? 1 : 2;
        const std::string marker = Spell(m == 0  ? 0
                                         : m < 4 ? m - 1
                                                 : m - 4,
                                         markerLength, markerAlphabet);
        for (Position start = -1; start <= static_cast<Position>(length) + 2; ++start) {
          for (bool folded : {false, true}) {
            ASSERT_EQ(FindForward(text, marker, start, folded),
                      ReferenceSearch(text, marker, start, folded, false))
                << testing::PrintToString(text) << " " << testing::PrintToString(marker) << " "
                << start << " " << folded;
            ASSERT_EQ(FindBackward(text, marker, start, folded),
                      ReferenceSearch(text, marker, start, folded, true))
                << testing::PrintToString(text) << " " << testing::PrintToString(marker) << " "
                << start << " " << folded;
          }
        }
      }
    }
  }
}

TEST(MarkerSearchTest, FindsMarkerAtEndOfLongRepetitiveText) {
  const std::string text = std::string(200000, 'a') + "b";
  const std::string marker = std::string(1000, 'a') + "b";
  EXPECT_EQ(FindForward(text, marker), 199000 + 1);
  EXPECT_EQ(FindBackward(text, marker, static_cast<Position>(text.size()) + 1), 199000 + 1);
}

struct BetweenCase {
  const char* name;
  std::string text;
  std::string left;
  std::string right;
  Position start;
  bool caseInsensitive;
  std::string expected;
};

class TextBetweenTest : public testing::TestWithParam<BetweenCase> {};

TEST_P(TextBetweenTest, CutsBetweenMarkers) {
  const BetweenCase& row = GetParam();
  EXPECT_EQ(TextBetween(row.text, row.left, row.right, row.start, row.caseInsensitive),
            row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextBetweenTest,
    testing::Values(BetweenCase{"QuotePlaceholderMatchesQuote", "a=\"x\"", kPlaceholderText,
                                kPlaceholderText, 0, false, "x"},
                    BetweenCase{"PlaceholderInsideLongerMarkers", "id=\"7\";",
                                "id=" + kPlaceholderText, kPlaceholderText + ";", 0, false, "7"},
                    BetweenCase{"SearchedTextNotAltered", "x" + kPlaceholderText + "y", "x", "y", 0,
                                false, kPlaceholderText},
                    BetweenCase{"LeftAbsent", "a]b", "[", "]", 0, false, ""},
                    BetweenCase{"RightOnlyBeforeLeft", "]x[y", "[", "]", 0, false, ""},
                    BetweenCase{"RightRightAfterLeft", "[]", "[", "]", 0, false, ""},
                    BetweenCase{"RightSearchedAfterLeft", "[a[b]", "[", "]", 0, false, "a[b"},
                    BetweenCase{"CaseSensitiveByDefault", "Key:v;", "key:", ";", 0, false, ""},
                    BetweenCase{"CaseInsensitive", "Key:v;", "key:", ";", 0, true, "v"},
                    BetweenCase{"EmptyRightMarker", "a[b]", "[", "", 0, false, ""},
                    BetweenCase{"EmptyLeftMarker", "ab;c", "", ";", 0, false, "ab"},
                    BetweenCase{"StartSkipsEarlierLeft", "[a][b]", "[", "]", 3, false, "b"},
                    BetweenCase{"NegativeStartCountsAsOne", "[a]", "[", "]", -2, false, "a"},
                    BetweenCase{"StartBeyondEnd", "[a]", "[", "]", 9, false, ""},
                    BetweenCase{"LeftNeverAtSecondByte", "\xD5[a]", "[", "]", 0, false, ""},
                    BetweenCase{"TwoByteMarkers", kOpenBracket + "x" + kCloseBracket, kOpenBracket,
                                kCloseBracket, 0, false, "x"}),
    testing_support::CaseName());

struct BeforeCase {
  const char* name;
  std::string text;
  std::string marker;
  Position start;
  bool caseInsensitive;
  std::string expected;
};

class TextBeforeTest : public testing::TestWithParam<BeforeCase> {};

TEST_P(TextBeforeTest, CutsFromBeginningToMarker) {
  const BeforeCase& row = GetParam();
  EXPECT_EQ(TextBefore(row.text, row.marker, row.start, row.caseInsensitive), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextBeforeTest,
    testing::Values(BeforeCase{"HeaderName", "Set-Cookie: a=b; path=/", ": ", 0, false,
                               "Set-Cookie"},
                    BeforeCase{"StartZeroFirstMarker", "a.b.c", ".", 0, false, "a"},
                    BeforeCase{"MinusOneWholeTextBackward", "a.b.c", ".", -1, false, "a.b"},
                    BeforeCase{"MinusTwoLeavesOutLastTwoBytes", "a.b.c", ".", -2, false, "a"},
                    BeforeCase{"MinusThree", "a.b.c", ".", -3, false, "a"},
                    BeforeCase{"MinusFourFindsNothing", "a.b.c", ".", -4, false, ""},
                    BeforeCase{"MostNegativeStart", "a.b.c", ".",
                               std::numeric_limits<Position>::min(), false, ""},
                    BeforeCase{"PositiveStartStillCutsFromByteOne", "a.b.c", ".", 4, false, "a.b"},
                    BeforeCase{"StartBeyondEnd", "a.b.c", ".", 6, false, ""},
                    BeforeCase{"Absent", "abc", ".", 0, false, ""},
                    BeforeCase{"MarkerAtFirstByte", ".abc", ".", 0, false, ""},
                    BeforeCase{"NeverAtSecondByte", kShuo + "f", "f", 0, false, kShuo},
                    BeforeCase{"NeverAtSecondByteBackward", kShuo + "f", "f", -1, false, kShuo},
                    BeforeCase{"CaseSensitiveByDefault", "a-X-b", "x", 0, false, ""},
                    BeforeCase{"CaseInsensitive", "a-X-b", "x", 0, true, "a-"},
                    BeforeCase{"NoPlaceholderReplacement", "a\"b", kPlaceholderText, 0, false, ""}),
    testing_support::CaseName());

struct AfterColonCase {
  const char* name;
  std::string text;
  std::string expected;
};

class TextAfterColonTest : public testing::TestWithParam<AfterColonCase> {};

TEST_P(TextAfterColonTest, TrimsTextAfterFirstColon) {
  EXPECT_EQ(TextAfterColon(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextAfterColonTest,
    testing::Values(AfterColonCase{"HeaderValue", "User-Agent:  X ", "X"},
                    AfterColonCase{"NoColon", "User-Agent X", ""},
                    AfterColonCase{"OnlyBlanksAfterColon", "a:   ", ""},
                    AfterColonCase{"FirstColonOnly", "a: b:c", "b:c"},
                    AfterColonCase{"FullWidthBlanks", "a:\xA1\xA1x\xA1\xA1", "x"},
                    AfterColonCase{"TabIsNoBlank", "a:\tx", "\tx"},
                    AfterColonCase{"ColonAtSecondByteSkipped", "\x81:x:y", "y"},
                    AfterColonCase{"EmptyText", "", ""}),
    testing_support::CaseName());

}  // namespace
}  // namespace vexa
