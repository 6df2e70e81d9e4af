#include "http/file_download.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/case_name.h"
#include "tests/support/http_client_setup.h"
#include "tests/support/test_http_server.h"
#include "tests/support/tls_test_server.h"

namespace vexa {
namespace {

using namespace std::chrono_literals;
using namespace testing_support;

TEST(FileDownloadTest, RequestBytes) {
  TestHttpServer server([](const RecordedRequest&) { return Reply("HTTP/1.1 200 OK", "JPEG"); });
  const DownloadResult result = DownloadWholeFile(server.Url("/img/A.jpg?s=1#part"));
  EXPECT_TRUE(result.complete);
  EXPECT_EQ(BodyText(result.body), "JPEG");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1U);
  EXPECT_EQ(requests[0].head,
            "GET /img/A.jpg?s=1 HTTP/1.0\r\nHost: " + server.Origin() +
                "\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)"
                "\r\nAccept: */*\r\n\r\n");
}

struct OutcomeCase {
  const char* name;
  ScriptedReply reply;
  std::string body;
  bool complete;
};

ScriptedReply Ending(BodyEnd end, std::size_t sentBytes) {
  ScriptedReply reply = Reply("HTTP/1.1 200 OK", "0123456789");
  reply.end = end;
  reply.sentBytes = sentBytes;
  return reply;
}

ScriptedReply Chunked() {
  ScriptedReply reply = Reply("HTTP/1.1 200 OK", std::string(2500, 'c'));
  reply.chunked = true;
  return reply;
}

ScriptedReply UntilClose() {
  ScriptedReply reply = Reply("HTTP/1.0 200 OK", "no length");
  reply.announceLength = false;
  reply.close = true;
  return reply;
}

class DownloadOutcomeTest : public testing::TestWithParam<OutcomeCase> {};

TEST_P(DownloadOutcomeTest, BodyAndCompleteness) {
  const ScopedHttpTimeouts quick({2s, 1s});
  TestHttpServer server([](const RecordedRequest&) { return GetParam().reply; });
  const DownloadResult result = DownloadWholeFile(server.Url("/p.jpg"));
  EXPECT_EQ(BodyText(result.body), GetParam().body);
  EXPECT_EQ(result.complete, GetParam().complete);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DownloadOutcomeTest,
    testing::Values(OutcomeCase{"Whole", Reply("HTTP/1.1 200 OK", "JPEG"), "JPEG", true},
                    OutcomeCase{"ChunkedWhole", Chunked(), std::string(2500, 'c'), true},
                    OutcomeCase{"EndsWithTheConnection", UntilClose(), "no length", true},
                    OutcomeCase{"NotFoundPage", Reply("HTTP/1.1 404 Not Found", "missing"),
                                "missing", false},
                    OutcomeCase{"ServerError", Reply("HTTP/1.1 500 Oops", "oops"), "oops", false},
                    OutcomeCase{"ShorterThanAnnounced", Ending(BodyEnd::Close, 4), "0123", false},
                    OutcomeCase{"StalledInTheBody", Ending(BodyEnd::Stall, 0), "", false}),
    CaseName());

TEST(FileDownloadTest, ResetDuringTheBodyFails) {
  TestHttpServer server([](const RecordedRequest&) { return Ending(BodyEnd::Reset, 4); });
  const DownloadResult result = DownloadWholeFile(server.Url("/p.jpg"));
  EXPECT_FALSE(result.complete);
  // Whether the bytes before the reset are read depends on the moment it arrives.
  EXPECT_TRUE(std::string("0123").starts_with(BodyText(result.body)));
}

TEST(FileDownloadTest, FollowsRedirects) {
  TestHttpServer server([](const RecordedRequest& request) {
    if (request.Target() == "/p.jpg") {
      return Reply("HTTP/1.1 200 OK", "JPEG");
    }
    ScriptedReply reply = Reply("HTTP/1.1 302 Found", "moved");
    reply.headerLines = {request.Target() == "/loop" ? "Location: /loop" : "Location: /p.jpg"};
    return reply;
  });
  const DownloadResult moved = DownloadWholeFile(server.Url("/old.jpg"));
  EXPECT_TRUE(moved.complete);
  EXPECT_EQ(BodyText(moved.body), "JPEG");
  EXPECT_FALSE(DownloadWholeFile(server.Url("/loop")).complete);
}

TEST(FileDownloadTest, AddressesThatCannotBeFetched) {
  int port = 0;
  {
    TestHttpServer closed([](const RecordedRequest&) { return Reply("HTTP/1.1 200 OK", ""); });
    port = closed.Port();
  }
  for (const std::string& address :
       {std::string(""), std::string("not an address"), std::string("ftp://x.example/p"),
        std::string("http://exa mple/p.jpg"), std::string("#only"),
        "http://127.0.0.1:" + std::to_string(port) + "/p.jpg"}) {
    const DownloadResult result = DownloadWholeFile(address);
    EXPECT_TRUE(result.body.empty()) << address;
    EXPECT_FALSE(result.complete) << address;
  }
}

TEST(FileDownloadTest, UsesTheProxyOfTheEnvironment) {
  TestHttpServer proxy(
      [](const RecordedRequest&) { return Reply("HTTP/1.1 200 OK", "via proxy"); });
  setenv("http_proxy", ("http://" + proxy.Origin()).c_str(), 1);
  unsetenv("no_proxy");
  unsetenv("NO_PROXY");
  const DownloadResult result = DownloadWholeFile("http://pictures.example/a.jpg");
  unsetenv("http_proxy");
  EXPECT_EQ(BodyText(result.body), "via proxy");
  ASSERT_EQ(proxy.Requests().size(), 1U);
  EXPECT_EQ(proxy.Requests()[0].Target(), "http://pictures.example/a.jpg");
}

TEST(FileDownloadTest, RefusesAnUntrustedCertificate) {
  TlsTestServer server;
  ASSERT_TRUE(server.Running());
  const DownloadResult result =
      DownloadWholeFile("https://127.0.0.1:" + std::to_string(server.Port()) + "/");
  EXPECT_FALSE(result.complete);
  EXPECT_TRUE(result.body.empty());
}

}  // namespace
}  // namespace vexa
