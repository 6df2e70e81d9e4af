// What requests share across threads: the process's cookie jar and the
// per-host connection limits.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "http/file_download.h"
#include "http/http_request.h"
#include "tests/support/http_client_setup.h"
#include "tests/support/test_http_server.h"

namespace vexa {
namespace {

using namespace std::chrono_literals;
using namespace testing_support;

// Runs the task on a thread of its own and waits for it.
void OnAnotherThread(const std::function<void()>& task) { std::thread(task).join(); }

void RunTogether(int count, const std::function<void()>& task) {
  std::vector<std::thread> threads;
  for (int i = 0; i < count; ++i) {
    threads.emplace_back(task);
  }
  for (std::thread& thread : threads) {
    thread.join();
  }
}

// The cookie line a request carried; empty without one.
std::string CookieLine(const RecordedRequest& request) {
  const std::size_t at = request.head.find("\r\nCookie: ");
  return at == std::string::npos
             ? ""
             : request.head.substr(at + 2, request.head.find("\r\n", at + 2) - at - 2);
}

// Answers ".../set-NAME" with a cookie NAME=1 for the path "/PREFIX" and
// ".../drop-NAME" with an expired one; everything after a short pause, so
// that requests overlap.
ScriptedReply CookieSetter(const RecordedRequest& request) {
  const std::string target = request.Target();
  const std::string prefix = target.substr(0, target.find('/', 1));
  const std::string last = target.substr(target.rfind('/') + 1);
  ScriptedReply reply = Reply("HTTP/1.1 200 OK", "ok");
  reply.delay = 20ms;
  if (last.starts_with("set-")) {
    reply.headerLines = {"Set-Cookie: " + last.substr(4) + "=1; Path=" + prefix};
  } else if (last.starts_with("drop-")) {
    reply.headerLines = {"Set-Cookie: " + last.substr(5) + "=; Path=" + prefix +
                         "; Expires=Thu, 01 Jan 1970 00:00:00 GMT"};
  }
  return reply;
}

TEST(CookieJarTest, SeenByARequestOnAnotherThread) {
  TestHttpServer server(CookieSetter);
  OnAnotherThread([&] { HttpRequest(server.Url("/jar/set-sid")); });
  OnAnotherThread([&] { HttpRequest(server.Url("/jar/read")); });
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2U);
  EXPECT_EQ(CookieLine(requests[1]), "Cookie: sid=1");
}

TEST(CookieJarTest, CallsWithTheirOwnCookiesNeitherReadNorFillIt) {
  TestHttpServer server(CookieSetter);
  HttpRequest(server.Url("/own/set-shared"));
  Text none;
  Text mine = "mine=2";
  HttpRequest(server.Url("/own/read"), {.cookies = &none});
  HttpRequest(server.Url("/own/set-private"), {.cookies = &mine});
  HttpRequest(server.Url("/own/read"));
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 4U);
  EXPECT_EQ(CookieLine(requests[1]), "");
  EXPECT_EQ(CookieLine(requests[2]), "Cookie: mine=2");
  EXPECT_EQ(CookieLine(requests[3]), "Cookie: shared=1");
  EXPECT_EQ(mine, "private=1; mine=2");
}

TEST(CookieJarTest, ForgetsACookieTheServerDeletes) {
  TestHttpServer server(CookieSetter);
  HttpRequest(server.Url("/gone/set-old"));
  HttpRequest(server.Url("/gone/drop-old"));
  HttpRequest(server.Url("/gone/read"));
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3U);
  EXPECT_EQ(CookieLine(requests[1]), "Cookie: old=1");
  EXPECT_EQ(CookieLine(requests[2]), "");
}

TEST(CookieJarTest, OverlappingRequestsKeepEachOthersCookies) {
  // Each answer waits until both requests have arrived, so both transfers
  // start from the same jar and end one after the other.
  std::mutex mutex;
  std::condition_variable bothArrived;
  int arrived = 0;
  TestHttpServer server([&](const RecordedRequest& request) {
    if (request.Target().find("/set-") != std::string::npos) {
      std::unique_lock lock(mutex);
      ++arrived;
      bothArrived.notify_all();
      bothArrived.wait_for(lock, 5s, [&] { return arrived == 2; });
    }
    return CookieSetter(request);
  });
  std::atomic<int> next{0};
  RunTogether(2, [&] { HttpRequest(server.Url(next++ == 0 ? "/both/set-a" : "/both/set-b")); });
  EXPECT_EQ(server.MaxConcurrentRequests(), 2);
  HttpRequest(server.Url("/both/read"));
  const std::string line = CookieLine(server.Requests().back());
  EXPECT_NE(line.find("a=1"), std::string::npos) << line;
  EXPECT_NE(line.find("b=1"), std::string::npos) << line;
}

TEST(CookieJarTest, DownloadsShareIt) {
  TestHttpServer server(CookieSetter);
  HttpRequest(server.Url("/pictures/set-token"));
  EXPECT_TRUE(DownloadWholeFile(server.Url("/pictures/a.jpg")).complete);
  EXPECT_EQ(CookieLine(server.Requests().back()), "Cookie: token=1");
}

ScriptedReply SlowPicture(const RecordedRequest&) {
  ScriptedReply reply = Reply("HTTP/1.1 200 OK", "picture");
  reply.delay = 60ms;
  return reply;
}

TEST(HostLimitTest, AtMostTwoRequestsPerHost) {
  TestHttpServer server(SlowPicture);
  std::atomic<int> whole{0};
  RunTogether(20, [&] { whole += HttpRequest(server.Url("/")).size() == 7 ? 1 : 0; });
  EXPECT_EQ(whole, 20);
  EXPECT_EQ(server.MaxConcurrentRequests(), 2);
}

TEST(HostLimitTest, AtMostFourDownloadsPerHost) {
  TestHttpServer server(SlowPicture);
  std::atomic<int> complete{0};
  RunTogether(20, [&] { complete += DownloadWholeFile(server.Url("/p.jpg")).complete ? 1 : 0; });
  EXPECT_EQ(complete, 20);
  EXPECT_EQ(server.MaxConcurrentRequests(), 4);
}

TEST(HostLimitTest, EachHostAndPortHasItsOwnPlaces) {
  std::atomic<int> running{0};
  std::atomic<int> most{0};
  const auto counting = [&](const RecordedRequest&) {
    const int now = ++running;
    for (int seen = most; now > seen && !most.compare_exchange_weak(seen, now);) {
    }
    std::this_thread::sleep_for(50ms);
    --running;
    return Reply("HTTP/1.1 200 OK", "x");
  };
  TestHttpServer first(counting);
  TestHttpServer second(counting);
  std::atomic<int> next{0};
  RunTogether(8, [&] { HttpRequest((next++ % 2 == 0 ? first : second).Url("/")); });
  EXPECT_EQ(first.MaxConcurrentRequests(), 2);
  EXPECT_EQ(second.MaxConcurrentRequests(), 2);
  EXPECT_EQ(most, 4);
}

}  // namespace
}  // namespace vexa
