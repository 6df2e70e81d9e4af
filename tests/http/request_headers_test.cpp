#include "http/request_headers.h"

#include <gtest/gtest.h>

#include "gallery/page_patterns.h"
#include "http/proxy_list.h"
#include "tests/support/case_name.h"

namespace vexa {
namespace {

constexpr const char* kUrl = "http://site.example/works/7";
const Text kDefaultsOf = "\r\nReferer: http://site.example/works/7\r\nAccept-Language: zh-cn";
const Text kChromeAgent =
    "Mozilla/5.0 (Windows NT 10.0; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/78.0.3904.108 Safari/537.36 QIHU 360SE";

Text cookiesA1 = "a=1";
Text cookiesNamed = "Cookie: a=1";
Text cookiesEmpty;

struct ComposeCase {
  const char* name;
  HttpRequestOptions options;
  Text headers;
  Text agent;
};

class ComposeRequestTest : public testing::TestWithParam<ComposeCase> {};

TEST_P(ComposeRequestTest, HeaderTextAndAgent) {
  const ComposedRequest request = ComposeRequest(kUrl, GetParam().options);
  EXPECT_EQ(request.headers, GetParam().headers);
  EXPECT_EQ(request.agent, GetParam().agent);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ComposeRequestTest,
    testing::Values(
        ComposeCase{"QueriesOwnCall",
                    {.headers = Text(PageRequestHeaders)},
                    Text(PageRequestHeaders) + kDefaultsOf,
                    kChromeAgent},
        ComposeCase{
            "PostDefaults",
            {.method = 1},
            "Accept: */*" + kDefaultsOf + "\r\nContent-Type: application/x-www-form-urlencoded",
            Text(DefaultAgent)},
        ComposeCase{"PostKeepsItsContentType",
                    {.method = 1, .headers = "content-type: text/plain"},
                    "Content-Type: text/plain\r\nAccept: */*" + kDefaultsOf,
                    Text(DefaultAgent)},
        ComposeCase{"CompleteOffWithCookiesBeginsWithCrLf",
                    {.cookies = &cookiesA1, .completeHeaders = false},
                    "\r\nCookie: a=1",
                    Text(DefaultAgent)},
        ComposeCase{"CookiesCarryingTheirOwnName",
                    {.cookies = &cookiesNamed, .completeHeaders = false},
                    "\r\nCookie: a=1",
                    Text(DefaultAgent)},
        ComposeCase{"CookiesAfterTheDefaults",
                    {.cookies = &cookiesA1},
                    "Accept: */*" + kDefaultsOf + "\r\nCookie: a=1",
                    Text(DefaultAgent)},
        ComposeCase{"CookiesGivenEmptyAddNoLine",
                    {.cookies = &cookiesEmpty},
                    "Accept: */*" + kDefaultsOf,
                    Text(DefaultAgent)},
        ComposeCase{"AcceptLanguagePresent",
                    {.headers = "accept-language: en"},
                    "Accept-Language: en\r\nAccept: */*\r\nReferer: http://site.example/works/7",
                    Text(DefaultAgent)},
        ComposeCase{"AcceptLanguagePresentInLowerCase",
                    {.headers = "accept-language: en", .normalizeNames = false},
                    "accept-language: en\r\nAccept: */*\r\nReferer: http://site.example/works/7",
                    Text(DefaultAgent)},
        ComposeCase{"RefererGivenIsKept",
                    {.headers = "Referer: x", .completeHeaders = false},
                    "Referer: x",
                    Text(DefaultAgent)},
        ComposeCase{"EmptyTextWithoutCompletionStaysEmpty",
                    {.completeHeaders = false},
                    "",
                    Text(DefaultAgent)},
        ComposeCase{"NamesNormalised",
                    {.headers = "x-token: a\r\nno colon", .completeHeaders = false},
                    "X-Token: a",
                    Text(DefaultAgent)},
        ComposeCase{"AgentAfterFirstColonWhenNotNormalised",
                    {.headers = "user-agent: X", .completeHeaders = false, .normalizeNames = false},
                    "user-agent: X",
                    "X"},
        ComposeCase{"AgentFallbackTakesTheWholeTextAfterItsFirstColon",
                    {.headers = "Accept: a\r\nuser-agent: X",
                     .completeHeaders = false,
                     .normalizeNames = false},
                    "Accept: a\r\nuser-agent: X",
                    "a\r\nuser-agent: X"},
        ComposeCase{"AgentLineFoundWhenNormalised",
                    {.headers = "user-agent:  X \r\naccept: y", .completeHeaders = false},
                    "User-Agent:  X \r\nAccept: y",
                    "X"},
        ComposeCase{"AgentMentionedInAValue",
                    {.headers = "X-Note: User-Agent: Y", .completeHeaders = false},
                    "X-Note: User-Agent: Y",
                    "Y"}),
    testing_support::CaseName());

TEST(ComposeRequestTest, PageHeaderTextIs260Bytes) { EXPECT_EQ(PageRequestHeaders.size(), 260U); }

TEST(ComposeRequestTest, MethodOutsideTheTableIsGet) {
  EXPECT_EQ(ComposeRequest(kUrl, {.method = 8}).method, 0);
  EXPECT_EQ(ComposeRequest(kUrl, {.method = -1}).method, 0);
  EXPECT_EQ(ComposeRequest(kUrl, {.method = 7}).method, 7);
  EXPECT_EQ(MethodVerb(8), "GET");
  EXPECT_EQ(MethodVerb(-1), "GET");
  EXPECT_EQ(MethodVerb(2), "HEAD");
  EXPECT_EQ(MethodVerb(7), "CONNECT");
  // Only POST gets a default Content-Type, so a clamped index must not.
  EXPECT_EQ(ComposeRequest(kUrl, {.method = 8}).headers, "Accept: */*" + kDefaultsOf);
}

TEST(ComposeRequestTest, SecureByTheFirstEightBytes) {
  EXPECT_TRUE(ComposeRequest("HTTPS://x.example/", {}).secure);
  EXPECT_FALSE(ComposeRequest("httpsite.example/x", {}).secure);
  EXPECT_FALSE(ComposeRequest("x.example/?https://", {}).secure);
}

TEST(ComposeRequestTest, PortZeroIsTheSchemesDefault) {
  EXPECT_EQ(ServerPort("http://x.example:/a", false), 80);
  EXPECT_EQ(ServerPort("https://x.example:/a", true), 443);
  EXPECT_EQ(ServerPort("http://x.example:8080/a", false), 8080);
  // The address parts choose 443 by the first five bytes alone.
  EXPECT_EQ(ServerPort("httpsite.example/x", false), 443);
}

TEST(ComposeRequestTest, SwitchesOmittedAreTrue) {
  EXPECT_TRUE(ComposeRequest(kUrl, {}).mergeCookies);
  EXPECT_FALSE(ComposeRequest(kUrl, {.mergeCookies = false}).mergeCookies);
}

TEST(ComposeRequestTest, ProxyTextBySecurity) {
  EXPECT_EQ(ComposeRequest("http://x/", {.proxy = "p:8"}).proxy, "http=p:8");
  EXPECT_EQ(ComposeRequest("https://x/", {.proxy = "p:8"}).proxy, "p:8");
  EXPECT_EQ(ComposeRequest("http://x/", {}).proxy, "");
}

struct ProxyCase {
  const char* name;
  const char* list;
  const char* scheme;
  const char* proxy;
};

class ProxyForSchemeTest : public testing::TestWithParam<ProxyCase> {};

TEST_P(ProxyForSchemeTest, ChoosesTheEntry) {
  EXPECT_EQ(ProxyForScheme(GetParam().list, GetParam().scheme), GetParam().proxy);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProxyForSchemeTest,
    testing::Values(ProxyCase{"PlainServesHttp", "p:8", "http", "p:8"},
                    ProxyCase{"PlainServesHttps", "p:8", "https", "p:8"},
                    ProxyCase{"HttpEntryServesHttp", "http=p:8", "http", "p:8"},
                    ProxyCase{"HttpEntryLeavesHttpsDirect", "http=p:8", "https", ""},
                    ProxyCase{"SchemeEntryWinsOverPlain", "q:9 https=p:8", "https", "p:8"},
                    ProxyCase{"SemicolonsSeparate", "http=a:1;https=b:2", "https", "b:2"},
                    ProxyCase{"SchemeNameCaseIgnored", "HTTP=p:8", "http", "p:8"},
                    ProxyCase{"KeepsAProxyScheme", "http=http://p:8", "http", "http://p:8"},
                    ProxyCase{"EmptyListIsDirect", "", "http", ""},
                    ProxyCase{"OnlySeparators", " ; ", "http", ""}),
    testing_support::CaseName());

}  // namespace
}  // namespace vexa
