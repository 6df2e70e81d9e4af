#include "text/unique_join.h"

#include <gtest/gtest.h>

#include "tests/support/case_name.h"

#include <string>

namespace vexa {
namespace {

const std::string kZhong = "\xD6\xD0";  // "中"

struct SplitCharactersCase {
  const char* name;
  std::string text;
  TextList pieces;
};

class SplitCharactersTest : public testing::TestWithParam<SplitCharactersCase> {};

TEST_P(SplitCharactersTest, OnePiecePerCharacter) {
  const SplitCharactersCase& row = GetParam();
  TextList pieces;
  EXPECT_EQ(SplitCharacters(row.text, pieces), static_cast<std::ptrdiff_t>(row.pieces.size()));
  EXPECT_EQ(pieces, row.pieces);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitCharactersTest,
    testing::Values(SplitCharactersCase{"Mixed",
                                        "ab\xD6\xD0\r\n\rx",
                                        {"a", "b", "\xD6\xD0", "\r\n", "\r", "x"}},
                    SplitCharactersCase{"LoneLeadByteAtEnd", "a\xB0", {"a", "\xB0"}},
                    SplitCharactersCase{"EmptyText", "", {}},
                    SplitCharactersCase{"CrAtEnd", "a\r", {"a", "\r"}},
                    SplitCharactersCase{"LfAlone", "\n", {"\n"}},
                    SplitCharactersCase{"LfThenCr", "\n\r", {"\n", "\r"}},
                    SplitCharactersCase{"CrThenCrLf", "\r\r\n", {"\r", "\r\n"}},
                    SplitCharactersCase{"Byte80IsSingle", "\x80z", {"\x80", "z"}},
                    SplitCharactersCase{"Byte81TakesNextByte", "\x81z", {"\x81z"}},
                    SplitCharactersCase{"LeadByteTakesCr", "\xB0\r\n", {"\xB0\r", "\n"}}),
    testing_support::CaseName());

TEST(SplitCharactersTest, ReplacesPreviousPieces) {
  TextList pieces{"old", "pieces"};
  EXPECT_EQ(SplitCharacters("z", pieces), 1);
  EXPECT_EQ(pieces, TextList{"z"});
  EXPECT_EQ(SplitCharacters("", pieces), 0);
  EXPECT_TRUE(pieces.empty());
}

struct JoinUniqueCase {
  const char* name;
  std::string text;
  std::string separator;
  bool bySeparator;
  std::string expected;
};

class JoinUniqueTest : public testing::TestWithParam<JoinUniqueCase> {};

TEST_P(JoinUniqueTest, KeepsFirstOccurrences) {
  const JoinUniqueCase& row = GetParam();
  EXPECT_EQ(JoinUnique(row.text, row.separator, row.bySeparator), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JoinUniqueTest,
    testing::Values(JoinUniqueCase{"RepeatDropped", "a; b; a; c", "; ", true, "a; b; c"},
                    JoinUniqueCase{"TrailingSeparator", "a; b; ", "; ", true, "a; b"},
                    JoinUniqueCase{"EmptyPiecesAtStartAndMiddle", "; a; ; b", "; ", true, "; a; b"},
                    JoinUniqueCase{"LaterEmptyPiecesVanish", "a; ; ; b; ", "; ", true, "a; ; b"},
                    JoinUniqueCase{"SemicolonWithoutSpaceIsNoSeparator", "a;b", "; ", true, "a;b"},
                    JoinUniqueCase{"OnlySeparator", "; ", "; ", true, ""},
                    JoinUniqueCase{"LetterCaseDistinct", "a; A; a", "; ", true, "a; A"},
                    JoinUniqueCase{"ByCharacters", "banana", ",", false, "b,a,n"},
                    JoinUniqueCase{"ByCharactersEmptySeparator", "banana", "", false, "ban"},
                    JoinUniqueCase{"ByCharactersTwoByte", kZhong + "z" + kZhong, ",", false,
                                   kZhong + ",z"},
                    JoinUniqueCase{"ByCharactersCrLfIsOne", "\r\n\r\n\n", "", false, "\r\n\n"},
                    JoinUniqueCase{"EmptyTextBySeparator", "", "; ", true, ""},
                    JoinUniqueCase{"EmptyTextByCharacters", "", "; ", false, ""},
                    JoinUniqueCase{"EmptySeparatorKeepsWholeText", "a; a", "", true, "a; a"}),
    testing_support::CaseName());

struct FindInListCase {
  const char* name;
  TextList list;
  std::string text;
  Position expected;
};

class FindInListTest : public testing::TestWithParam<FindInListCase> {};

TEST_P(FindInListTest, FirstEqualElement) {
  EXPECT_EQ(FindInList(GetParam().list, GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FindInListTest,
                         testing::Values(FindInListCase{"FirstOfSeveral", {"x", "a", "a"}, "a", 2},
                                         FindInListCase{"AtPositionOne", {"a", "b"}, "a", 1},
                                         FindInListCase{"LetterCaseMatters", {"a"}, "A", -1},
                                         FindInListCase{"EmptyList", {}, "a", -1},
                                         FindInListCase{
                                             "EmptyTextEqualsEmptyElement", {"a", ""}, "", 2},
                                         FindInListCase{"PrefixIsNotEqual", {"ab"}, "a", -1}),
                         testing_support::CaseName());

}  // namespace
}  // namespace vexa
