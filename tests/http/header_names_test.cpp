#include "http/header_names.h"

#include <gtest/gtest.h>

#include "tests/support/case_name.h"

#include <string>

namespace vexa {
namespace {

struct HeaderCase {
  const char* name;
  std::string block;
  std::string normalised;
};

class NormalizeHeaderNamesTest : public testing::TestWithParam<HeaderCase> {};

TEST_P(NormalizeHeaderNamesTest, CapitalisesNamesAndDropsOtherLines) {
  EXPECT_EQ(NormalizeHeaderNames(GetParam().block), GetParam().normalised);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NormalizeHeaderNamesTest,
    testing::Values(
        HeaderCase{"LowerCaseNames", "user-agent: x\r\naccept-language:zh",
                   "User-Agent: x\r\nAccept-Language:zh"},
        HeaderCase{"CapitalsStay", "USER-AGENT: x\r\ncontent-TYPE: y",
                   "USER-AGENT: x\r\nContent-TYPE: y"},
        HeaderCase{"RequestLineDropped", "GET / HTTP/1.1\r\nhost: a", "Host: a"},
        HeaderCase{"EmptyLinesDropped", "a:1\r\n\r\nb:2\r\n", "A:1\r\nB:2"},
        HeaderCase{"ValueUntouched", "a: b:c", "A: b:c"},
        HeaderCase{"BlanksAfterColonKept", "x-token:  abc", "X-Token:  abc"},
        HeaderCase{"DoubledDash", "a--b:1", "A--B:1"}, HeaderCase{"TrailingDash", "x-:1", "X-:1"},
        HeaderCase{"LoneDashName", "-:1\r\n--x:2", "-:1\r\n--X:2"},
        HeaderCase{"EmptyName", ":v", ":v"},
        HeaderCase{"LeadingBlankKeepsFirstByte", " host: a", " host: a"},
        // "中-x" (D6 D0) keeps its two-byte character; the segment after the dash is capitalised.
        HeaderCase{"LeadingTwoByteCharacter", "\xD6\xD0-x: 1", "\xD6\xD0-X: 1"},
        // 0x81 0x2D is one character: its second byte is no dash.
        HeaderCase{"DashInsideTwoByteCharacter", "\x81-a:1", "\x81-a:1"},
        HeaderCase{"LoneCrOrLfDoesNotSplit", "a:1\nb:2\rc:3", "A:1\nb:2\rc:3"},
        HeaderCase{"LineWithoutColonBetween", "a:1\r\njunk\r\nb-c:2", "A:1\r\nB-C:2"},
        HeaderCase{"EmptyBlock", "", ""},
        HeaderCase{"NoColonAnywhere", "GET /\r\nnothing here\r\n", ""},
        HeaderCase{"OnlyLineBreaks", "\r\n\r\n", ""}),
    testing_support::CaseName());

TEST(CapitalizeFirstTest, UpperCasesOnlyAnAsciiFirstByte) {
  EXPECT_EQ(CapitalizeFirst("agent"), "Agent");
  EXPECT_EQ(CapitalizeFirst("aGENT"), "AGENT");
  EXPECT_EQ(CapitalizeFirst("Agent"), "Agent");
  EXPECT_EQ(CapitalizeFirst("1a"), "1a");
  EXPECT_EQ(CapitalizeFirst(""), "");
  // "中a" begins with a two-byte character and comes back unchanged.
  EXPECT_EQ(CapitalizeFirst("\xD6\xD0"
                            "a"),
            "\xD6\xD0"
            "a");
}

}  // namespace
}  // namespace vexa
