// One complete HTTP exchange: compose the request, send it, read the whole
// response and return its body.
#pragma once

#include <optional>
#include <string_view>

#include "text/text.h"

namespace vexa {

// The twelve optional parameters after the address. Pointers are the
// by-reference parameters: null means omitted. The three switches at the end
// tell omitted (true) from given.
struct HttpRequestOptions {
  // Index into the verb table; outside 0..7 is GET.
  int method = 0;
  // Body for methods other than GET when the byte body is empty.
  Text textBody{};
  // Cookie text to send. Given, even empty, it switches off the process's
  // cookie store; it receives the merged cookies.
  Text* cookies = nullptr;
  // Receives the cookies the response sets.
  Text* receivedCookies = nullptr;
  // The caller's request header text.
  Text headers{};
  // Receives the status line and header lines of the final response.
  Text* receivedHeaders = nullptr;
  // Answer redirects instead of following them.
  bool noRedirect = false;
  // Body bytes for methods other than GET; receives the text body when empty.
  ByteBuffer* byteBody = nullptr;
  // Proxy list ("host:port"); empty is a direct connection.
  Text proxy{};
  // Merge the received cookies into the given ones.
  std::optional<bool> mergeCookies{};
  // Add the default headers that are missing.
  std::optional<bool> completeHeaders{};
  // Rewrite the header names first.
  std::optional<bool> normalizeNames{};
};

// The response body, owned by the caller; empty when the request could not be
// set up or nothing arrived. Blocks until the transfer ends (a stalled server
// ends it after the stall time-out). Safe to call from many threads at once;
// at most two calls per host and port run at a time, the others wait.
ByteBuffer HttpRequest(std::string_view url, const HttpRequestOptions& options = {});

}  // namespace vexa
