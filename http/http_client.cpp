#include "http/http_client.h"

#include <curl/curl.h>

#include <atomic>
#include <csignal>
#include <mutex>

#include "http/host_limits.h"

namespace vexa {
namespace {

std::atomic<bool> stopping{false};
std::atomic<long> connectSeconds{HttpTimeouts{}.connect.count()};
std::atomic<long> stallSeconds{HttpTimeouts{}.stall.count()};

}  // namespace

void InitHttpClient() {
  static std::once_flag once;
  std::call_once(once, [] {
    std::signal(SIGPIPE, SIG_IGN);
    curl_global_init(CURL_GLOBAL_DEFAULT);
  });
}

void StopHttpClient() {
  stopping = true;
  RequestHostLimit().StopWaiting();
  DownloadHostLimit().StopWaiting();
}

bool HttpClientStopping() { return stopping; }

void SetHttpTimeouts(HttpTimeouts timeouts) {
  connectSeconds = static_cast<long>(timeouts.connect.count());
  stallSeconds = static_cast<long>(timeouts.stall.count());
}

HttpTimeouts CurrentHttpTimeouts() {
  return {std::chrono::seconds(connectSeconds.load()), std::chrono::seconds(stallSeconds.load())};
}

}  // namespace vexa
