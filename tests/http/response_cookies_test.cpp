#include "http/response_cookies.h"

#include <gtest/gtest.h>

#include "http/response_head.h"
#include "tests/support/case_name.h"

namespace vexa {
namespace {

struct CookiesCase {
  const char* name;
  Text block;
  Text cookies;
};

class ReceivedCookiesTest : public testing::TestWithParam<CookiesCase> {};

TEST_P(ReceivedCookiesTest, FirstPairOfEveryExactSetCookieLine) {
  EXPECT_EQ(ReceivedCookies(GetParam().block), GetParam().cookies);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReceivedCookiesTest,
    testing::Values(
        CookiesCase{"TwoLines",
                    "HTTP/1.1 200 OK\r\nSet-Cookie: sid=abc; path=/\r\nSet-Cookie: lang=zh",
                    "sid=abc; lang=zh"},
        CookiesCase{"LowerCaseNameContributesNothing", "HTTP/1.1 200 OK\r\nset-cookie: x=1", ""},
        CookiesCase{"NoBlankAfterColonContributesNothing", "HTTP/1.1 200 OK\r\nSet-Cookie:x=1", ""},
        CookiesCase{"NoSetCookie", "HTTP/1.1 200 OK\r\nContent-Length: 0", ""},
        CookiesCase{"BlanksAroundThePairTrimmed", "Set-Cookie:   a=1  ; HttpOnly", "a=1"},
        CookiesCase{"WithoutAttributesEveryMarkerRemoved", "Set-Cookie: a=set-cookie:1", "a=1"},
        CookiesCase{"EmptyPairStillSeparated", "Set-Cookie: ;x\r\nSet-Cookie: b=2", "; b=2"},
        CookiesCase{"FiveThousandBlanks", Text(5000, ' '), ""}, CookiesCase{"EmptyBlock", "", ""}),
    testing_support::CaseName());

struct HeadCase {
  const char* name;
  TextList lines;  // as libcurl hands them over
  Text block;
};

class ResponseHeadTest : public testing::TestWithParam<HeadCase> {};

TEST_P(ResponseHeadTest, BlockOfTheLastResponse) {
  ResponseHead head;
  for (const Text& line : GetParam().lines) {
    head.Add(line);
  }
  EXPECT_EQ(head.Block(), GetParam().block);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResponseHeadTest,
    testing::Values(
        HeadCase{"StatusAndHeaders",
                 {"HTTP/1.1 200 OK\r\n", "A: 1\r\n", "B: 2\r\n", "\r\n"},
                 "HTTP/1.1 200 OK\r\nA: 1\r\nB: 2"},
        HeadCase{"InterimResponseReplaced",
                 {"HTTP/1.1 100 Continue\r\n", "\r\n", "HTTP/1.1 200 OK\r\n", "A: 1\r\n", "\r\n"},
                 "HTTP/1.1 200 OK\r\nA: 1"},
        HeadCase{"TrailersLeftOut",
                 {"HTTP/1.1 200 OK\r\n", "A: 1\r\n", "\r\n", "T: x\r\n"},
                 "HTTP/1.1 200 OK\r\nA: 1"},
        HeadCase{"BareLineFeeds", {"HTTP/1.0 200 ok\n", "A: 1\n", "\n"}, "HTTP/1.0 200 ok\r\nA: 1"},
        HeadCase{"NothingArrived", {}, Text(5000, ' ')},
        // Block and NUL fill the buffer exactly: 4999 bytes fit.
        HeadCase{"JustFits",
                 {"HTTP/1.1 200 OK\r\n", "X: " + Text(4999 - 17 - 3, 'a') + "\r\n", "\r\n"},
                 "HTTP/1.1 200 OK\r\nX: " + Text(4999 - 17 - 3, 'a')},
        HeadCase{"OneByteTooMany",
                 {"HTTP/1.1 200 OK\r\n", "X: " + Text(5000 - 17 - 3, 'a') + "\r\n", "\r\n"},
                 Text(5000, ' ')},
        HeadCase{"TooLongStatusLine",
                 {"HTTP/1.1 200 " + Text(5000, 'a') + "\r\n", "\r\n"},
                 Text(5000, ' ')}),
    testing_support::CaseName());

}  // namespace
}  // namespace vexa
