// HttpRequest must add nothing to the cost of a transfer: a 10 MB body
// fetched with it and with a bare libcurl handle (a fresh handle each time,
// the body gathered into a vector) from the same loopback server. Compare the
// medians of the two; each repetition is one fetch:
//   build/default/bench/http_request_bench
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/median_summary.h"
#include "http/http_client.h"
#include "http/http_request.h"
#include "tests/support/test_http_server.h"

namespace {

using vexa::testing_support::RecordedRequest;
using vexa::testing_support::ScriptedReply;
using vexa::testing_support::TestHttpServer;

constexpr std::size_t kBodySize = 10 * 1024 * 1024;
constexpr int kFetches = 50;

TestHttpServer& Server() {
  static const std::string body(kBodySize, 'b');
  static TestHttpServer server([](const RecordedRequest&) {
    ScriptedReply reply;
    reply.body = body;
    return reply;
  });
  return server;
}

// Appends a chunk to the std::vector `sink`, as a plain libcurl program would.
std::size_t AppendToVector(char* data, std::size_t size, std::size_t count, void* sink) {
  auto* body = static_cast<std::vector<unsigned char>*>(sink);
  body->insert(body->end(), data, data + size * count);
  return size * count;
}

struct CurlCleanup {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};

void BM_HttpRequest(benchmark::State& state) {
  const std::string url = Server().Url("/body");
  for (auto _ : state) {
    const vexa::ByteBuffer body = vexa::HttpRequest(url);
    if (body.size() != kBodySize) {
      state.SkipWithError("short body");
    }
    benchmark::DoNotOptimize(body.data());
  }
}

void BM_BareCurl(benchmark::State& state) {
  const std::string url = Server().Url("/body");
  for (auto _ : state) {
    std::vector<unsigned char> body;
    const std::unique_ptr<CURL, CurlCleanup> handle(curl_easy_init());
    curl_easy_setopt(handle.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle.get(), CURLOPT_WRITEFUNCTION, AppendToVector);
    curl_easy_setopt(handle.get(), CURLOPT_WRITEDATA, &body);
    curl_easy_perform(handle.get());
    if (body.size() != kBodySize) {
      state.SkipWithError("short body");
    }
    benchmark::DoNotOptimize(body.data());
  }
}

BENCHMARK(BM_HttpRequest)
    ->Iterations(1)
    ->Repetitions(kFetches)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareCurl)
    ->Iterations(1)
    ->Repetitions(kFetches)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  vexa::InitHttpClient();
  // The two benchmarks' fetches are interleaved at random, so that a load on
  // the machine that drifts during the run does not favour either of them.
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  std::vector<char*> arguments = {argv[0], interleave};
  arguments.insert(arguments.end(), argv + 1, argv + argc);
  const auto medians =
      vexa::bench::RunForMedians(static_cast<int>(arguments.size()), arguments.data());
  const double request = medians.at("BM_HttpRequest");
  const double bare = medians.at("BM_BareCurl");
  std::printf("10 MB body, %d fetches each: HttpRequest %.2f ms, bare libcurl %.2f ms, "
              "ratio %.2f (target <= 1.1)\n",
              kFetches, request, bare, request / bare);
  return 0;
}
