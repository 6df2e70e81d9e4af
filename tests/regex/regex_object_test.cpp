#include "regex/regex_object.h"

#include <gtest/gtest.h>

#include "gallery/page_patterns.h"
#include "tests/support/case_name.h"

#include <string>
#include <vector>

namespace vexa {
namespace {

// "#引号" and some code page 936 words.
constexpr const char* kPlaceholder = "#\xD2\xFD\xBA\xC5";
constexpr const char* kAlbumWord = "\xCD\xBC\xBC\xAF";   // "图集"
constexpr const char* kAuthorName = "\xD5\xC5\xC8\xFD";  // "张三"

// Every group of every match, as the album and collection queries read them.
std::vector<std::vector<Text>> AllGroups(const RegexObject& regex) {
  std::vector<std::vector<Text>> matches;
  for (int match = 1; match <= regex.MatchCount(); ++match) {
    std::vector<Text> groups;
    for (int group = 1; group <= regex.SubMatchCount(); ++group) {
      groups.push_back(regex.SubMatchText(match, group));
    }
    matches.push_back(groups);
  }
  return matches;
}

struct PageCase {
  const char* name;
  std::string_view pattern;
  std::string subject;
  std::vector<std::vector<Text>> groups;
};

class PagePatternTest : public testing::TestWithParam<PageCase> {};

TEST_P(PagePatternTest, FindsTheGroupsTheQueriesRead) {
  const PageCase& row = GetParam();
  RegexObject regex;
  EXPECT_TRUE(regex.Search(row.pattern, row.subject, false, true));
  EXPECT_EQ(AllGroups(regex), row.groups);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PagePatternTest,
    testing::Values(
        PageCase{"Entry", EntryPattern,
                 R"({"img":"2019/11/1/x.jpg","width":1080,"height":720,"text":"a"})",
                 {{"2019/11/1/x.jpg", "1080", "720"}}},
        PageCase{"EntriesOnSeveralLines", EntryPattern,
                 "[{\"img\":\"2019/11/1/a.jpg\",\"width\":1080,\"height\":720},\n"
                 "{\"IMG\":\"2020/1/22/b_2.JPG\",\"width\":9,\"height\":16}]\n"
                 "{\"img\":\"x.jpg\",\"width\":1}",
                 {{"2019/11/1/a.jpg", "1080", "720"}, {"2020/1/22/b_2.JPG", "9", "16"}}},
        PageCase{"FallbackEntry", FallbackEntryPattern,
                 R"({"img":"2019/11/1/x.jpg","width":1080,"text":"","content":"","height":720})",
                 {{"2019/11/1/x.jpg", "1080", "", "", "720"}}},
        PageCase{"FallbackEntryNeedsEmptyText", FallbackEntryPattern,
                 R"({"img":"2019/11/1/x.jpg","width":1080,"text":"t","content":"","height":720})",
                 {}},
        PageCase{"TitleAfterLastBlank", TitlePattern,
                 std::string("<div>\n  <h2 class=\"works-title\">2019 ") + kAlbumWord +
                     "</h2>\n</div>",
                 {{kAlbumWord}}},
        PageCase{"TitleInCapitals", TitlePattern, "<H2 CLASS=\"T\">A B</H2>", {{"B"}}},
        PageCase{"TitleNeedsOneLine", TitlePattern, "<h2 class=\"t\">a b\n</h2>", {}},
        PageCase{"TwoAnchorsOnOneLineGiveOneLink", WorkLinkPattern,
                 "<a href=\"/works/1\" class=\"w\">x</a><a href=\"/works/2\" class=\"w\">y</a>\n"
                 "<a href=\"/works/3\" class=\"w\">z</a>",
                 {{"/works/1\" class=\"w\">x</a><a href=\"/works/2"}, {"/works/3"}}},
        PageCase{"AuthorSpan", AuthorPattern,
                 std::string("<span class=\"author_name\">") + kAuthorName + "</span>",
                 {{kAuthorName}}}),
    testing_support::CaseName());

struct SyntaxCase {
  const char* name;
  std::string pattern;
  std::string subject;
  std::vector<Text> matches;
};

class SyntaxTest : public testing::TestWithParam<SyntaxCase> {};

TEST_P(SyntaxTest, MatchesWithTheComponentsMeaning) {
  const SyntaxCase& row = GetParam();
  RegexObject regex;
  EXPECT_TRUE(regex.Search(row.pattern, row.subject));
  std::vector<Text> matches;
  for (int match = 1; match <= regex.MatchCount(); ++match) {
    matches.push_back(regex.MatchText(match));
  }
  EXPECT_EQ(matches, row.matches);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SyntaxTest,
    testing::Values(
        SyntaxCase{"EscapedBraceAndAngleAreLiteral", R"(\{\<\>)", "x{<>", {"{<>"}},
        SyntaxCase{"DotStopsAtLineFeed", "a.*b", "a\nb", {}},
        SyntaxCase{"DotCrossesCarriageReturn", "a.*b", "a\rb", {"a\rb"}},
        SyntaxCase{"DotTakesATwoByteCharacterWhole", "a.b", std::string("a\xCD\xBC" "b"),
                   {std::string("a\xCD\xBC" "b")}},
        SyntaxCase{"WordCharactersAreAscii", R"(\w+)", std::string("\xCD\xBC" "ab_1"),
                   {"ab_1"}},
        // "α" against "Α": case folding reaches beyond ASCII.
        SyntaxCase{"IgnoreCaseFoldsGreek", "\xA6\xC1", "\xA6\xA1", {"\xA6\xA1"}},
        SyntaxCase{"UnicodeEscape", R"(\u56FE)", kAlbumWord, {"\xCD\xBC"}},
        SyntaxCase{"UnknownEscapeIsTheLetter", R"(\i)", "I", {"I"}},
        SyntaxCase{"EmptyMatchesMoveOnOneCharacter", "a*", std::string("b\xCD\xBC" "aa"),
                   {"", "", "aa", ""}},
        SyntaxCase{"DollarOnlyAtTheEndOfALine", "b$", "ab\nab", {"b", "b"}},
        SyntaxCase{"CaretAtEveryLineStart", "^a", "ab\nab", {"a", "a"}}),
    testing_support::CaseName());

TEST(RegexObjectTest, NoMatchIsASuccessfulSearch) {
  RegexObject regex;
  EXPECT_TRUE(regex.Search("(x)y", "abc"));
  EXPECT_EQ(regex.MatchCount(), 0);
  EXPECT_EQ(regex.SubMatchCount(), 0);
  EXPECT_EQ(regex.MatchText(1), "");
  EXPECT_EQ(regex.PatternText(), "(x)y");
  EXPECT_EQ(regex.ReplaceMatches("z"), "abc");
}

TEST(RegexObjectTest, RejectedPatternGivesFalseAndEmptyResults) {
  RegexObject regex;
  ASSERT_TRUE(regex.Search("(a)", "a"));
  EXPECT_FALSE(regex.Search("(a", "a"));
  EXPECT_EQ(regex.MatchCount(), 0);
  EXPECT_EQ(regex.SubMatchCount(), 0);
  EXPECT_EQ(regex.MatchText(1), "");
  EXPECT_EQ(regex.SubMatchText(1, 1), "");
  EXPECT_EQ(regex.PatternText(), "");
  EXPECT_EQ(regex.ReplaceMatches("b"), "");
}

TEST(RegexObjectTest, PatternTheJitCannotTakeIsRejected) {
  // Without the JIT no limit would bound the search's time.
  RegexObject regex;
  EXPECT_TRUE(regex.Search("a", "a"));
  EXPECT_FALSE(regex.Search("(*NO_JIT)a", "a"));
  EXPECT_EQ(regex.MatchCount(), 0);
}

TEST(RegexObjectTest, NewObjectIsEmpty) {
  const RegexObject regex;
  EXPECT_EQ(regex.PatternText(), "");
  EXPECT_EQ(regex.MatchCount(), 0);
  EXPECT_EQ(regex.SubMatchCount(), 0);
  EXPECT_EQ(regex.MatchText(1), "");
  EXPECT_EQ(regex.ReplaceMatches("x"), "");
}

TEST(RegexObjectTest, SecondSearchReplacesTheFirst) {
  RegexObject regex;
  ASSERT_TRUE(regex.Search("(a)(b)", "ab ab ab"));
  ASSERT_EQ(regex.MatchCount(), 3);
  EXPECT_TRUE(regex.Search("(c)", "xc"));
  EXPECT_EQ(regex.MatchCount(), 1);
  EXPECT_EQ(regex.SubMatchCount(), 1);
  EXPECT_EQ(regex.MatchText(1), "c");
  EXPECT_EQ(regex.MatchText(2), "");
  EXPECT_EQ(regex.SubMatchText(1, 2), "");
  EXPECT_EQ(regex.PatternText(), "(c)");
  EXPECT_EQ(regex.ReplaceMatches("d"), "xd");
}

TEST(RegexObjectTest, NumbersCountFromOneAndOutOfRangeGivesEmpty) {
  RegexObject regex;
  ASSERT_TRUE(regex.Search("(a)(b)", "ab-AB"));
  EXPECT_EQ(regex.MatchCount(), 2);
  EXPECT_EQ(regex.SubMatchCount(), 2);
  EXPECT_EQ(regex.MatchText(1), "ab");
  EXPECT_EQ(regex.MatchText(2), "AB");
  EXPECT_EQ(regex.SubMatchText(2, 1), "A");
  EXPECT_EQ(regex.SubMatchText(2, 2), "B");
  for (const int outside : {0, -1, 3}) {
    EXPECT_EQ(regex.MatchText(outside), "") << outside;
    EXPECT_EQ(regex.SubMatchText(outside, 1), "") << outside;
    EXPECT_EQ(regex.SubMatchText(1, outside), "") << outside;
  }
}

TEST(RegexObjectTest, EmptyAndUnsetGroupsGiveEmptyTexts) {
  RegexObject regex;
  ASSERT_TRUE(regex.Search("a()(x)?b", "ab"));
  EXPECT_EQ(regex.MatchText(1), "ab");
  EXPECT_EQ(regex.SubMatchCount(), 2);
  EXPECT_EQ(regex.SubMatchText(1, 1), "");
  EXPECT_EQ(regex.SubMatchText(1, 2), "");
}

TEST(RegexObjectTest, QuotePlaceholderStandsForADoubleQuote) {
  const std::string pattern = std::string("a") + kPlaceholder + "b";
  const std::string subject = std::string("a\"b ") + pattern;
  RegexObject regex;
  ASSERT_TRUE(regex.Search(pattern, subject, false, true, true, true));
  EXPECT_EQ(regex.PatternText(), "a\"b");
  ASSERT_EQ(regex.MatchCount(), 1);
  EXPECT_EQ(regex.MatchText(1), "a\"b");

  ASSERT_TRUE(regex.Search(pattern, subject));
  EXPECT_EQ(regex.PatternText(), pattern);
  ASSERT_EQ(regex.MatchCount(), 1);
  EXPECT_EQ(regex.MatchText(1), pattern);
}

TEST(RegexObjectTest, OptionsCaseMultilineGlobal) {
  RegexObject regex;
  EXPECT_TRUE(regex.Search("B", "ab", true));
  EXPECT_EQ(regex.MatchCount(), 0);
  EXPECT_TRUE(regex.Search("B", "ab"));
  EXPECT_EQ(regex.MatchCount(), 1);
  EXPECT_TRUE(regex.Search("^b", "a\nb", false, false));
  EXPECT_EQ(regex.MatchCount(), 0);
  EXPECT_TRUE(regex.Search("a", "aaa", false, true, false));
  EXPECT_EQ(regex.MatchCount(), 1);
  EXPECT_EQ(regex.ReplaceMatches("x"), "xaa");
}

struct ReplaceCase {
  const char* name;
  const char* replacement;
  std::string result;
};

class ReplaceMatchesTest : public testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceMatchesTest, UsesTheComponentsSyntax) {
  RegexObject regex;
  ASSERT_TRUE(regex.Search(R"((\d)(\d)?)", std::string("a1") + kAlbumWord + "22c"));
  EXPECT_EQ(regex.ReplaceMatches(GetParam().replacement), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceMatchesTest,
    testing::Values(
        ReplaceCase{"Group", "[$1]", std::string("a[1]") + kAlbumWord + "[2]c"},
        ReplaceCase{"UnsetGroupIsEmpty", "<$2>", std::string("a<>") + kAlbumWord + "<2>c"},
        ReplaceCase{"WholeMatch", "$&$&", std::string("a11") + kAlbumWord + "2222c"},
        ReplaceCase{"Dollar", "$$", std::string("a$") + kAlbumWord + "$c"},
        ReplaceCase{"TextBefore", "$`", std::string("aa") + kAlbumWord + "a1" + kAlbumWord + "c"},
        ReplaceCase{"TextAfter", "$'", std::string("a") + kAlbumWord + "22c" + kAlbumWord + "cc"},
        ReplaceCase{"MissingGroupIsLiteral", "$3", std::string("a$3") + kAlbumWord + "$3c"},
        ReplaceCase{"TwoDigitsOnlyWhenThatGroupExists", "$12",
                    std::string("a12") + kAlbumWord + "22c"},
        ReplaceCase{"LeadingZero", "$01", std::string("a1") + kAlbumWord + "2c"},
        ReplaceCase{"DollarZeroIsLiteral", "$0", std::string("a$0") + kAlbumWord + "$0c"},
        ReplaceCase{"OtherDollarsAreLiteral", "$x$", std::string("a$x$") + kAlbumWord + "$x$c"},
        ReplaceCase{"ChineseReplacement", kAuthorName,
                    std::string("a") + kAuthorName + kAlbumWord + kAuthorName + "c"}),
    testing_support::CaseName());

TEST(RegexObjectTest, ReplaceReachesTwoDigitGroups) {
  RegexObject regex;
  ASSERT_TRUE(regex.Search("(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", "-abcdefghij-"));
  EXPECT_EQ(regex.ReplaceMatches("$10"), "-j-");
  EXPECT_EQ(regex.ReplaceMatches("$11"), "-a1-");
}

TEST(RegexObjectTest, CopySharesResultsAndOwnsItsSubject) {
  RegexObject original;
  ASSERT_TRUE(original.Search("(b+)", "abbc"));
  const RegexObject copy = original.Copy();
  ASSERT_TRUE(original.Search("(x)", "xyz"));
  EXPECT_EQ(copy.PatternText(), "(b+)");
  EXPECT_EQ(copy.MatchCount(), 1);
  EXPECT_EQ(copy.SubMatchText(1, 1), "bb");
  EXPECT_EQ(copy.ReplaceMatches("-"), "a-c");
  EXPECT_EQ(original.MatchText(1), "x");
  EXPECT_EQ(original.ReplaceMatches("-"), "-yz");
}

constexpr std::size_t kMegabyte = 1024 * 1024;

// `unit` repeated until the text holds at least `size` bytes.
std::string Repeated(std::string_view unit, std::size_t size) {
  std::string text;
  while (text.size() < size) {
    text.append(unit);
  }
  return text;
}

struct HostileCase {
  const char* name;
  std::string_view pattern;
  std::string_view unit;
};

class HostilePageTest : public testing::TestWithParam<HostileCase> {};

TEST_P(HostilePageTest, SearchReturnsWithoutMatches) {
  RegexObject regex;
  regex.Search(GetParam().pattern, Repeated(GetParam().unit, kMegabyte), false, true);
  EXPECT_EQ(regex.MatchCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, HostilePageTest,
                         testing::Values(HostileCase{"Title", TitlePattern, "<h2 class=\""},
                                         HostileCase{"WorkLink", WorkLinkPattern, "<a href=\" clas"},
                                         HostileCase{"Author", AuthorPattern,
                                                     "<span class=\"author_name\"> span>"},
                                         HostileCase{"Entry", EntryPattern,
                                                     "{\"img\":\"2019/11/1/x.jpg\",\"width\":1"},
                                         HostileCase{"FallbackEntry", FallbackEntryPattern,
                                                     "{\"img\":\"1/x.jpg\",\"width\":1,\"text\":\""}),
                         testing_support::CaseName());

TEST(RegexObjectTest, WorkLimitDropsTheMatchesFoundBeforeIt) {
  const std::string page = "<h2 class=\"t\">a b</h2>\n" + Repeated("<h2 class=\"", kMegabyte);
  RegexObject regex;
  EXPECT_FALSE(regex.Search(TitlePattern, page, false, true));
  EXPECT_EQ(regex.MatchCount(), 0);
  EXPECT_EQ(regex.SubMatchText(1, 1), "");
  EXPECT_EQ(regex.ReplaceMatches("x"), "");
  EXPECT_EQ(regex.PatternText(), TitlePattern);
  // Without the hostile line the same search finds the title.
  EXPECT_TRUE(regex.Search(TitlePattern, page.substr(0, page.find('\n') + 1), false, true));
  EXPECT_EQ(regex.SubMatchText(1, 1), "b");
}

TEST(RegexObjectTest, TimeLimitDropsTheMatchesOfManyCostlyCalls) {
  // Each title line is preceded by a line that costs its engine call a few
  // milliseconds, well under the work limit; together they take far longer
  // than the time limit.
  const std::string block = Repeated("<h2 class=\"", 3000) + "\n<h2 class=\"a b</h2>\n";
  const std::string page = Repeated(block, kMegabyte);
  RegexObject regex;
  EXPECT_FALSE(regex.Search(TitlePattern, page, false, true));
  EXPECT_EQ(regex.MatchCount(), 0);
  // The first few calls alone succeed.
  EXPECT_TRUE(regex.Search(TitlePattern, page.substr(0, 3 * block.size()), false, true));
  EXPECT_EQ(regex.MatchCount(), 3);
}

}  // namespace
}  // namespace vexa
