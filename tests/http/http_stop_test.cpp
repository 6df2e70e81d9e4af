// Stopping the client at program exit: a test program of its own, because
// the stop lasts for the rest of the process.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <vector>

#include "http/file_download.h"
#include "http/http_client.h"
#include "http/http_request.h"
#include "tests/support/http_client_setup.h"
#include "tests/support/test_http_server.h"

namespace vexa {
namespace {

using namespace std::chrono_literals;
using namespace testing_support;

TEST(HttpStopTest, EndsRunningAndWaitingTransfersAndLaterCalls) {
  TestHttpServer server([](const RecordedRequest&) {
    ScriptedReply reply = Reply("HTTP/1.1 200 OK", "0123456789");
    reply.end = BodyEnd::Stall;
    reply.sentBytes = 2;
    return reply;
  });
  // Two requests stall in their body (far from the 30-second stall time-out);
  // the third waits for a free place at the host.
  std::vector<std::future<ByteBuffer>> requests;
  for (int i = 0; i < 3; ++i) {
    requests.push_back(
        std::async(std::launch::async, [&] { return HttpRequest(server.Url("/")); }));
  }
  while (server.Requests().size() < 2) {
    std::this_thread::sleep_for(5ms);
  }
  StopHttpClient();
  for (auto& request : requests) {
    ASSERT_EQ(request.wait_for(10s), std::future_status::ready);
  }
  EXPECT_EQ(server.Requests().size(), 2U);
  EXPECT_TRUE(HttpRequest(server.Url("/")).empty());
  EXPECT_TRUE(DownloadWholeFile(server.Url("/")).body.empty());
  EXPECT_EQ(server.Requests().size(), 2U);
  EXPECT_TRUE(HttpClientStopping());
}

}  // namespace
}  // namespace vexa
