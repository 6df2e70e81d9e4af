// What a request sends, composed from the caller's parameters before anything
// touches the network.
#pragma once

#include <string_view>

#include "http/http_request.h"
#include "text/text.h"

namespace vexa {

inline constexpr std::string_view DefaultAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// Indices of the verb table that the request treats apart.
inline constexpr int kMethodGet = 0;
inline constexpr int kMethodPost = 1;
inline constexpr int kMethodHead = 2;
inline constexpr int kMethodPut = 3;

struct ComposedRequest {
  int method = 0;       // clamped index into the verb table
  bool secure = false;  // the address begins "https://", ASCII case ignored
  Text agent;           // the session's user agent
  Text proxy;           // proxy list for the session; empty is direct
  Text headers;         // header text exactly as it is to be sent
  bool mergeCookies = true;
};

// The switches with their defaults, the verb, the agent, the proxy list and
// the header text with the defaults completed and the cookie line added.
ComposedRequest ComposeRequest(std::string_view url, const HttpRequestOptions& options);

// The verb of a method index; an index outside the table gives "GET".
std::string_view MethodVerb(int method);

// The port to connect to: the address's own, where 0 stands for the
// scheme's default (443 for a secure request, else 80).
long ServerPort(std::string_view url, bool secure);

}  // namespace vexa
