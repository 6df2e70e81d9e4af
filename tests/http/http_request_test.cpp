#include "http/http_request.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "gallery/page_patterns.h"
#include "tests/support/case_name.h"
#include "tests/support/http_client_setup.h"
#include "tests/support/test_http_server.h"
#include "tests/support/tls_test_server.h"

namespace vexa {
namespace {

using namespace std::chrono_literals;
using namespace testing_support;

const std::string kDefaultAgentLine =
    "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)\r\n";

ByteBuffer AsBytes(std::string_view text) { return {text.begin(), text.end()}; }

ScriptedReply Ok(const RecordedRequest&) { return Reply("HTTP/1.1 200 OK", "fine"); }

// What the server must receive; "{o}" stands for the server's host and port.
struct WireCase {
  const char* name;
  const char* path;
  HttpRequestOptions options;
  std::string head;
  std::string body;
};

Text cookiesA1 = "a=1";

class WireTest : public testing::TestWithParam<WireCase> {};

TEST_P(WireTest, ServerReceivesExactlyTheComposedRequest) {
  TestHttpServer server(Ok);
  const ByteBuffer body = HttpRequest(server.Url(GetParam().path), GetParam().options);
  EXPECT_EQ(BodyText(body), "fine");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1U);
  EXPECT_EQ(requests[0].head, ReplaceAll(GetParam().head, "{o}", server.Origin()));
  EXPECT_EQ(requests[0].body, GetParam().body);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WireTest,
    testing::Values(
        WireCase{"QueriesOwnCall",
                 "/works/1?x=1",
                 {.headers = Text(PageRequestHeaders)},
                 "GET /works/1?x=1 HTTP/1.1\r\nHost: {o}\r\n" + std::string(PageRequestHeaders) +
                     "\r\nReferer: http://{o}/works/1?x=1\r\nAccept-Language: zh-cn\r\n\r\n",
                 ""},
        WireCase{"PostDefaults",
                 "/form",
                 {.method = 1, .textBody = "a=1"},
                 "POST /form HTTP/1.1\r\nHost: {o}\r\nAccept: */*\r\nReferer: http://{o}/form\r\n"
                 "Accept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded\r\n" +
                     kDefaultAgentLine + "Content-Length: 3\r\n\r\n",
                 "a=1"},
        WireCase{"CompleteOffWithCookies",
                 "/c",
                 {.cookies = &cookiesA1, .completeHeaders = false},
                 "GET /c HTTP/1.1\r\nHost: {o}\r\nCookie: a=1\r\n" + kDefaultAgentLine + "\r\n",
                 ""},
        WireCase{"EmptyHeaderTextWithoutCompletion",
                 "/",
                 {.completeHeaders = false},
                 "GET / HTTP/1.1\r\nHost: {o}\r\n" + kDefaultAgentLine + "\r\n",
                 ""},
        WireCase{"MethodEightIsGetWithoutBody",
                 "/m",
                 {.method = 8, .textBody = "x", .completeHeaders = false},
                 "GET /m HTTP/1.1\r\nHost: {o}\r\n" + kDefaultAgentLine + "\r\n",
                 ""},
        WireCase{"MethodMinusOneIsGet",
                 "/m",
                 {.method = -1, .textBody = "x", .completeHeaders = false},
                 "GET /m HTTP/1.1\r\nHost: {o}\r\n" + kDefaultAgentLine + "\r\n",
                 ""},
        WireCase{"LinesLibcurlWouldDropGoVerbatim",
                 "/o",
                 {.headers = "X-Empty:\r\n\r\nno colon\r\n:v\r\nBlank:  \r\nUser-Agent: me",
                  .completeHeaders = false,
                  .normalizeNames = false},
                 "GET /o HTTP/1.1\r\nHost: {o}\r\nX-Empty:\r\nno colon\r\n:v\r\nBlank:  "
                 "\r\nUser-Agent: me\r\n\r\n",
                 ""},
        WireCase{"PathKeepsQueryFragmentAndCase",
                 "/A/b?c=D#Frag",
                 {.completeHeaders = false},
                 "GET /A/b?c=D#Frag HTTP/1.1\r\nHost: {o}\r\n" + kDefaultAgentLine + "\r\n",
                 ""},
        WireCase{
            "PutAnnouncesAnEmptyBody",
            "/p",
            {.method = 3, .completeHeaders = false},
            "PUT /p HTTP/1.1\r\nHost: {o}\r\n" + kDefaultAgentLine + "Content-Length: 0\r\n\r\n",
            ""},
        WireCase{"DeleteWithoutBody",
                 "/d",
                 {.method = 5, .completeHeaders = false},
                 "DELETE /d HTTP/1.1\r\nHost: {o}\r\n" + kDefaultAgentLine + "\r\n",
                 ""},
        WireCase{"OptionsWithBody",
                 "/d",
                 {.method = 4, .textBody = "q", .completeHeaders = false},
                 "OPTIONS /d HTTP/1.1\r\nHost: {o}\r\n" + kDefaultAgentLine +
                     "Content-Length: 1\r\n\r\n",
                 "q"}),
    CaseName());

struct VerbCase {
  const char* name;
  int method;
  const char* verb;
};

class VerbTest : public testing::TestWithParam<VerbCase> {};

TEST_P(VerbTest, VerbOnTheRequestLine) {
  TestHttpServer server([](const RecordedRequest& request) {
    return request.Method() == "HEAD" ? Reply("HTTP/1.1 200 OK", "")
                                      : Reply("HTTP/1.1 200 OK", "x");
  });
  HttpRequest(server.Url("/v"), {.method = GetParam().method});
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1U);
  EXPECT_EQ(requests[0].head.substr(0, requests[0].head.find("\r\n")),
            std::string(GetParam().verb) + " /v HTTP/1.1");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VerbTest,
    testing::Values(VerbCase{"Get", 0, "GET"}, VerbCase{"Post", 1, "POST"},
                    VerbCase{"Head", 2, "HEAD"}, VerbCase{"Put", 3, "PUT"},
                    VerbCase{"Options", 4, "OPTIONS"}, VerbCase{"Delete", 5, "DELETE"},
                    VerbCase{"Trace", 6, "TRACE"}, VerbCase{"Connect", 7, "CONNECT"},
                    VerbCase{"Eight", 8, "GET"}, VerbCase{"MinusOne", -1, "GET"}),
    CaseName());

TEST(HttpRequestTest, ByteBodyWinsOverTextBody) {
  TestHttpServer server(Ok);
  const std::string bytes("\x00\x01\xFF", 3);
  ByteBuffer byteBody = AsBytes(bytes);
  HttpRequest(server.Url("/b"), {.method = 3, .textBody = "text", .byteBody = &byteBody});
  ASSERT_EQ(server.Requests().size(), 1U);
  EXPECT_EQ(server.Requests()[0].body, bytes);
  EXPECT_EQ(byteBody, AsBytes(bytes));
}

TEST(HttpRequestTest, TextBodyFillsAnEmptyByteBody) {
  TestHttpServer server(Ok);
  ByteBuffer byteBody;
  HttpRequest(server.Url("/b"), {.method = 1, .textBody = "t=1", .byteBody = &byteBody});
  ASSERT_EQ(server.Requests().size(), 1U);
  EXPECT_EQ(server.Requests()[0].body, "t=1");
  EXPECT_EQ(byteBody, AsBytes("t=1"));
}

TEST(HttpRequestTest, GetSendsNeitherBody) {
  TestHttpServer server(Ok);
  ByteBuffer byteBody = AsBytes("bytes");
  HttpRequest(server.Url("/b"), {.textBody = "text", .byteBody = &byteBody});
  ASSERT_EQ(server.Requests().size(), 1U);
  EXPECT_EQ(server.Requests()[0].body, "");
  EXPECT_EQ(server.Requests()[0].head.find("Content-Length"), std::string::npos);
  EXPECT_EQ(byteBody, AsBytes("bytes"));
}

TEST(HttpRequestTest, HeadSendsNoBody) {
  TestHttpServer server([](const RecordedRequest&) { return Reply("HTTP/1.1 200 OK", ""); });
  ByteBuffer byteBody;
  HttpRequest(server.Url("/h"), {.method = 2, .textBody = "t", .byteBody = &byteBody});
  ASSERT_EQ(server.Requests().size(), 1U);
  EXPECT_EQ(server.Requests()[0].Method(), "HEAD");
  EXPECT_EQ(server.Requests()[0].head.find("Content-Length"), std::string::npos);
  EXPECT_EQ(byteBody, AsBytes("t"));
}

TEST(HttpRequestTest, ReceivedHeadersAreTheRawBlock) {
  TestHttpServer server([](const RecordedRequest&) {
    ScriptedReply reply = Reply("HTTP/1.1 404 Not Found", "gone");
    reply.headerLines = {"X-A: 1", "x-b:2"};
    return reply;
  });
  Text headers;
  const ByteBuffer body = HttpRequest(server.Url("/"), {.receivedHeaders = &headers});
  EXPECT_EQ(BodyText(body), "gone");
  EXPECT_EQ(headers, "HTTP/1.1 404 Not Found\r\nX-A: 1\r\nx-b:2\r\nContent-Length: 4");
}

TEST(HttpRequestTest, ChunkedAndLargeBodiesArriveWhole) {
  std::string large(3'000'000, '\0');
  for (std::size_t i = 0; i < large.size(); ++i) {
    large[i] = static_cast<char>(i * 7 + i / 251);
  }
  TestHttpServer server([&](const RecordedRequest& request) {
    ScriptedReply reply = Reply(
        "HTTP/1.1 200 OK", request.Target() == "/large" ? large : "abc" + large.substr(0, 5000));
    reply.chunked = request.Target() == "/chunked";
    return reply;
  });
  EXPECT_EQ(BodyText(HttpRequest(server.Url("/large"))), large);
  EXPECT_EQ(BodyText(HttpRequest(server.Url("/chunked"))), "abc" + large.substr(0, 5000));
}

struct LimitCase {
  const char* name;
  std::size_t blockSize;  // status line and header lines with their separators
  bool fits;
};

class HeaderLimitTest : public testing::TestWithParam<LimitCase> {};

TEST_P(HeaderLimitTest, BlockAndNulMustFitIn5000Bytes) {
  const std::string fixed = "HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\nContent-Length: 2\r\nX-Pad: ";
  const std::string pad(GetParam().blockSize - fixed.size(), 'p');
  TestHttpServer server([&](const RecordedRequest&) {
    ScriptedReply reply = Reply("HTTP/1.1 200 OK", "ok");
    reply.headerLines = {"Set-Cookie: a=1", "Content-Length: 2", "X-Pad: " + pad};
    reply.announceLength = false;
    return reply;
  });
  Text cookies;
  Text headers;
  Text received = "stale";
  const ByteBuffer body =
      HttpRequest(server.Url("/"),
                  {.cookies = &cookies, .receivedCookies = &received, .receivedHeaders = &headers});
  EXPECT_EQ(BodyText(body), "ok");
  if (GetParam().fits) {
    EXPECT_EQ(headers, fixed + pad);
    EXPECT_EQ(received, "a=1");
  } else {
    EXPECT_EQ(headers, Text(5000, ' '));
    EXPECT_EQ(received, "");
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, HeaderLimitTest,
                         testing::Values(LimitCase{"Fits4999", 4999, true},
                                         LimitCase{"TooLong5000", 5000, false},
                                         LimitCase{"FarTooLong", 60000, false}),
                         CaseName());

ScriptedReply SetsCookies(const RecordedRequest&) {
  ScriptedReply reply = Reply("HTTP/1.1 200 OK", "");
  reply.headerLines = {"Set-Cookie: sid=abc; path=/", "set-cookie: x=1", "Set-Cookie:y=2",
                       "Set-Cookie: lang=zh"};
  return reply;
}

TEST(HttpRequestTest, ReceivedCookiesFromExactSetCookieLines) {
  TestHttpServer server(SetsCookies);
  Text cookies = "old=1";
  Text received;
  HttpRequest(server.Url("/"),
              {.cookies = &cookies, .receivedCookies = &received, .mergeCookies = false});
  EXPECT_EQ(received, "sid=abc; lang=zh");
  EXPECT_EQ(cookies, "old=1");
}

TEST(HttpRequestTest, ReceivedCookiesMergedIntoTheGivenOnes) {
  TestHttpServer server(SetsCookies);
  Text cookies = "sid=old; a=1";
  Text received;
  HttpRequest(server.Url("/"), {.cookies = &cookies, .receivedCookies = &received});
  EXPECT_EQ(received, "sid=abc; lang=zh; a=1");
  EXPECT_EQ(cookies, "sid=abc; lang=zh; a=1");
  EXPECT_NE(server.Requests()[0].head.find("\r\nCookie: sid=old; a=1\r\n"), std::string::npos);
}

ScriptedReply Redirects(const RecordedRequest& request) {
  if (request.Target() == "/dir/start" || request.Target() == "/dir/see-other") {
    ScriptedReply reply =
        Reply(request.Target() == "/dir/start" ? "HTTP/1.1 302 Found" : "HTTP/1.1 303 See Other",
              "moved");
    reply.headerLines = {"Location: next?q=1"};
    return reply;
  }
  if (request.Target() == "/dir/temporary") {
    ScriptedReply reply = Reply("HTTP/1.1 307 Temporary Redirect", "");
    reply.headerLines = {"Location: /dir/next"};
    return reply;
  }
  return Reply("HTTP/1.1 200 OK", "arrived");
}

TEST(HttpRequestTest, RedirectFollowed) {
  TestHttpServer server(Redirects);
  Text headers;
  const ByteBuffer body = HttpRequest(server.Url("/dir/start"), {.receivedHeaders = &headers});
  EXPECT_EQ(BodyText(body), "arrived");
  EXPECT_EQ(headers, "HTTP/1.1 200 OK\r\nContent-Length: 7");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2U);
  EXPECT_EQ(requests[1].Target(), "/dir/next?q=1");
  // The composed lines go with the followed request too.
  EXPECT_NE(requests[1].head.find("\r\nReferer: " + server.Url("/dir/start") + "\r\n"),
            std::string::npos);
}

TEST(HttpRequestTest, RedirectNotFollowed) {
  TestHttpServer server(Redirects);
  Text headers;
  const ByteBuffer body =
      HttpRequest(server.Url("/dir/start"), {.receivedHeaders = &headers, .noRedirect = true});
  EXPECT_EQ(BodyText(body), "moved");
  EXPECT_EQ(headers, "HTTP/1.1 302 Found\r\nLocation: next?q=1\r\nContent-Length: 5");
  EXPECT_EQ(server.Requests().size(), 1U);
}

TEST(HttpRequestTest, RedirectChangesPostAsBrowsersDo) {
  TestHttpServer server(Redirects);
  HttpRequest(server.Url("/dir/see-other"), {.method = 1, .textBody = "a=1"});
  HttpRequest(server.Url("/dir/temporary"), {.method = 1, .textBody = "b=2"});
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 4U);
  EXPECT_EQ(requests[1].Method(), "GET");
  EXPECT_EQ(requests[1].body, "");
  EXPECT_EQ(requests[3].Method(), "POST");
  EXPECT_EQ(requests[3].body, "b=2");
}

TEST(HttpRequestTest, RedirectToAnotherServerNamesItsHost) {
  TestHttpServer target(Ok);
  TestHttpServer server([&](const RecordedRequest&) {
    ScriptedReply reply = Reply("HTTP/1.1 301 Moved Permanently", "");
    reply.headerLines = {"Location: http://localhost:" + std::to_string(target.Port()) + "/there"};
    return reply;
  });
  EXPECT_EQ(BodyText(HttpRequest(server.Url("/"))), "fine");
  ASSERT_EQ(target.Requests().size(), 1U);
  EXPECT_EQ(target.Requests()[0].head.substr(0, target.Requests()[0].head.find("\r\nAccept")),
            "GET /there HTTP/1.1\r\nHost: localhost:" + std::to_string(target.Port()));
}

TEST(HttpRequestTest, HeadDoesNotWaitForABody) {
  // A HEAD answer announcing a body it does not carry, on a connection that
  // closes: waiting for that body would fail the transfer and stop the
  // redirect from being followed.
  TestHttpServer server([](const RecordedRequest& request) {
    ScriptedReply reply =
        Reply(request.Target() == "/r" ? "HTTP/1.1 302 Found" : "HTTP/1.1 200 OK", "");
    reply.headerLines = {"Location: /final", "Content-Length: 100"};
    reply.announceLength = false;
    reply.close = true;
    return reply;
  });
  Text headers;
  HttpRequest(server.Url("/r"), {.method = 2, .receivedHeaders = &headers});
  EXPECT_EQ(headers.substr(0, 15), "HTTP/1.1 200 OK");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2U);
  EXPECT_EQ(requests[1].Method(), "HEAD");
}

TEST(HttpRequestTest, ProxyForHttpSeesTheAbsoluteTarget) {
  TestHttpServer proxy(Ok);
  const ByteBuffer body = HttpRequest("http://site.example:81/a/b?c",
                                      {.proxy = proxy.Origin(), .completeHeaders = false});
  EXPECT_EQ(BodyText(body), "fine");
  HttpRequest("http://site.example/x", {.proxy = proxy.Origin(), .completeHeaders = false});
  const auto requests = proxy.Requests();
  ASSERT_EQ(requests.size(), 2U);
  EXPECT_EQ(requests[0].head,
            "GET http://site.example:81/a/b?c HTTP/1.1\r\nHost: site.example:81\r\n" +
                kDefaultAgentLine + "\r\n");
  EXPECT_EQ(requests[1].Target(), "http://site.example/x");
}

TEST(HttpRequestTest, ProxyForHttpsTunnels) {
  TestHttpServer proxy([](const RecordedRequest&) { return Reply("HTTP/1.1 403 Forbidden", ""); });
  const ByteBuffer body = HttpRequest("https://site.example/a", {.proxy = proxy.Origin()});
  EXPECT_TRUE(body.empty());
  const auto requests = proxy.Requests();
  ASSERT_EQ(requests.size(), 1U);
  EXPECT_EQ(requests[0].Method(), "CONNECT");
  EXPECT_EQ(requests[0].Target(), "site.example:443");
  EXPECT_NE(requests[0].head.find("\r\n" + kDefaultAgentLine), std::string::npos);
}

TEST(HttpRequestTest, DirectConnectionIgnoresProxyVariables) {
  TestHttpServer server(Ok);
  setenv("http_proxy", "http://127.0.0.1:9", 1);
  const ByteBuffer body = HttpRequest(server.Url("/"));
  unsetenv("http_proxy");
  EXPECT_EQ(BodyText(body), "fine");
}

TEST(HttpRequestTest, HttpsWithSelfSignedCertificate) {
  TlsTestServer server;
  ASSERT_TRUE(server.Running());
  Text headers;
  const ByteBuffer body = HttpRequest("https://127.0.0.1:" + std::to_string(server.Port()) + "/",
                                      {.receivedHeaders = &headers});
  EXPECT_EQ(headers.substr(0, 15), "HTTP/1.0 200 ok");
  EXPECT_NE(BodyText(body).find("Cipher"), std::string::npos);
}

TEST(HttpRequestTest, FailedConnectionStillRunsTheLastSteps) {
  int port = 0;
  {
    TestHttpServer closed(Ok);
    port = closed.Port();
  }
  for (const std::string& url :
       {"http://127.0.0.1:" + std::to_string(port) + "/", std::string("http://exa mple/")}) {
    Text cookies = "a=1; a=2";
    Text received = "stale";
    Text headers = "stale";
    ByteBuffer byteBody;
    const ByteBuffer body = HttpRequest(url, {.method = 1,
                                              .textBody = "t",
                                              .cookies = &cookies,
                                              .receivedCookies = &received,
                                              .receivedHeaders = &headers,
                                              .byteBody = &byteBody});
    EXPECT_TRUE(body.empty()) << url;
    EXPECT_EQ(headers, Text(5000, ' ')) << url;
    EXPECT_EQ(received, "a=1") << url;
    EXPECT_EQ(cookies, "a=1") << url;
    EXPECT_EQ(byteBody, AsBytes("t")) << url;
  }
}

struct EndingCase {
  const char* name;
  BodyEnd end;
  std::size_t sentBytes;
  const char* body;
};

class EarlyEndTest : public testing::TestWithParam<EndingCase> {};

TEST_P(EarlyEndTest, KeepsWhatArrived) {
  const ScopedHttpTimeouts quick({2s, 1s});
  TestHttpServer server([](const RecordedRequest&) {
    ScriptedReply reply = Reply("HTTP/1.1 200 OK", "0123456789");
    reply.end = GetParam().end;
    reply.sentBytes = GetParam().sentBytes;
    return reply;
  });
  Text headers;
  const ByteBuffer body = HttpRequest(server.Url("/"), {.receivedHeaders = &headers});
  EXPECT_EQ(BodyText(body), GetParam().body);
  EXPECT_EQ(headers, "HTTP/1.1 200 OK\r\nContent-Length: 10");
}

INSTANTIATE_TEST_SUITE_P(Cases, EarlyEndTest,
                         testing::Values(EndingCase{"Closed", BodyEnd::Close, 4, "0123"},
                                         EndingCase{"Stalled", BodyEnd::Stall, 1, "0"}),
                         CaseName());

TEST(HttpRequestTest, AFalseHugeLengthKeepsWhatArrived) {
  TestHttpServer server([](const RecordedRequest&) {
    ScriptedReply reply = Reply("HTTP/1.1 200 OK", "0123456789");
    reply.headerLines = {"Content-Length: 999999999999999"};
    reply.announceLength = false;
    reply.end = BodyEnd::Close;
    reply.sentBytes = 4;
    return reply;
  });
  EXPECT_EQ(BodyText(HttpRequest(server.Url("/"))), "0123");
}

TEST(HttpRequestTest, StallBeforeAnyAnswerEndsWithNothing) {
  const ScopedHttpTimeouts quick({2s, 1s});
  TestHttpServer server([](const RecordedRequest&) {
    ScriptedReply reply = Reply("HTTP/1.1 200 OK", "late");
    reply.delay = 10s;
    return reply;
  });
  Text headers;
  EXPECT_TRUE(HttpRequest(server.Url("/"), {.receivedHeaders = &headers}).empty());
  EXPECT_EQ(headers, Text(5000, ' '));
}

}  // namespace
}  // namespace vexa
