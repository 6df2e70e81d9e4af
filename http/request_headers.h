// What a request sends, composed from the caller's parameters before anything
// touches the network.
#pragma once

#include <string_view>

#include "http/http_request.h"
#include "text/text.h"

namespace vexa {

inline constexpr std::string_view DefaultAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

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

}  // namespace vexa
