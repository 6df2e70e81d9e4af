// Process-wide set-up, time-outs and shut-down of the HTTP client.
#pragma once

#include <chrono>

namespace vexa {

// Initialises the HTTP library once and makes writes to a closed connection
// fail instead of raising SIGPIPE. Call it before starting any thread that
// makes requests.
void InitHttpClient();

// For program exit: running transfers end within about a second, and calls
// waiting for a connection, or made later, give up at once with no result.
void StopHttpClient();

bool HttpClientStopping();

// How long a transfer may take to connect, and how long it may go without
// receiving a byte, before it ends. The defaults are those of the system
// service the design relied on; tests shorten them.
struct HttpTimeouts {
  std::chrono::seconds connect{60};
  std::chrono::seconds stall{30};
};

void SetHttpTimeouts(HttpTimeouts timeouts);
HttpTimeouts CurrentHttpTimeouts();

}  // namespace vexa
