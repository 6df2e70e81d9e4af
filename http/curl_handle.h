// Owners of libcurl's handles and the set-up every transfer of the program
// shares. Internal to the HTTP client.
#pragma once

#include <curl/curl.h>

#include <memory>
#include <optional>
#include <string_view>

#include "text/text.h"

namespace vexa {

// Frees a libcurl object with the library's own `Free` routine.
template <typename T, auto Free>
struct CurlFreer {
  void operator()(T* object) const { Free(object); }
};
template <typename T, auto Free>
using CurlOwned = std::unique_ptr<T, CurlFreer<T, Free>>;

using CurlEasy = CurlOwned<CURL, curl_easy_cleanup>;
using CurlList = CurlOwned<curl_slist, curl_slist_free_all>;

// Redirects a transfer follows before it settles for the answer it has.
inline constexpr long kMaxRedirects = 30;

// A list holding copies of the lines; null when there are none or memory ran out.
CurlList MakeCurlList(const TextList& lines);

// The texts of a list that libcurl returned (and that the caller now owns).
TextList CurlListLines(CurlList list);

// A fresh handle for one transfer: no signals, the process's time-outs, an
// early end when the client stops, http and https only, and the body of each
// response appended to `body`. Null when libcurl cannot make one.
CurlEasy NewTransfer(ByteBuffer& body);

// Runs the transfer; true when it ended without a transport error (a
// connection, time-out, reset, short body or stop is an error, an HTTP error
// status is not).
bool PerformTransfer(CURL* handle);

// Status code of the last response; 0 when none arrived.
long ResponseStatus(CURL* handle);

// How libcurl reads an absolute http or https address.
struct UrlTarget {
  Text scheme;
  Text host;
  long port = 0;  // explicit, or the scheme's default
  Text hostLine;  // host, with ":port" when the port is not the default
};

// Nothing when libcurl cannot read the address as an http or https one.
std::optional<UrlTarget> ReadUrlTarget(std::string_view url);

}  // namespace vexa
