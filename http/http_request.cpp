#include "http/http_request.h"

#include <curl/curl.h>

#include <cstddef>
#include <new>
#include <string>
#include <utility>

#include "http/cookie_jar.h"
#include "http/cookie_merge.h"
#include "http/curl_handle.h"
#include "http/header_entries.h"
#include "http/host_limits.h"
#include "http/proxy_list.h"
#include "http/request_headers.h"
#include "http/response_cookies.h"
#include "http/response_head.h"
#include "http/url_parts.h"

namespace vexa {
namespace {

// Where one request of the exchange goes.
struct WireRequest {
  Text url;       // what libcurl connects to; relative redirects resolve against it
  Text target;    // request target sent as it is; empty lets libcurl form it from `url`
  Text hostLine;  // value of the Host line
  Text proxy;     // empty: direct, whatever the environment says
  int method = kMethodGet;
};

bool SameEndpoint(const std::optional<UrlTarget>& target, const Text& host, long port) {
  return target && target->host == host && target->port == port;
}

// The first request: host and port exactly as the address parts give them,
// the address path as the request target, in absolute form when a plain-http
// proxy forwards it. Nothing when libcurl cannot connect to that host and
// port (a port outside 1..65535 included).
std::optional<WireRequest> FirstRequest(std::string_view url, const ComposedRequest& request) {
  const Text scheme = request.secure ? "https" : "http";
  const long defaultPort = request.secure ? 443 : 80;
  const Text host = UrlHost(url);
  const long port = ServerPort(url, request.secure);
  if (port < 1 || port > 65535) {
    return std::nullopt;
  }
  const Text path = UrlPath(url);
  const Text origin = scheme + "://" + host + ":" + std::to_string(port);
  // The path only serves to resolve relative redirects; "/" stands in where
  // libcurl cannot read it.
  WireRequest wire;
  wire.url = origin + path.substr(0, path.find('#'));
  if (!SameEndpoint(ReadUrlTarget(wire.url), host, port)) {
    wire.url = origin + "/";
    if (!SameEndpoint(ReadUrlTarget(wire.url), host, port)) {
      return std::nullopt;
    }
  }
  wire.hostLine = port == defaultPort ? host : host + ":" + std::to_string(port);
  wire.proxy = ProxyForScheme(request.proxy, scheme);
  wire.target = wire.proxy.empty() || request.secure ? path : scheme + "://" + wire.hostLine + path;
  wire.method = request.method;
  return wire;
}

// 303 turns every method but HEAD into GET, and 301 and 302 turn POST into
// GET, as browsers do; other redirects keep the method and its body.
int RedirectedMethod(int method, long status) {
  const bool becomesGet = (status == 303 && method != kMethodHead) ||
                          ((status == 301 || status == 302) && method == kMethodPost);
  return becomesGet ? kMethodGet : method;
}

// The request that follows a redirect answer to `location` (absolute, as
// libcurl resolved it); nothing when the answer is no redirect to follow.
std::optional<WireRequest> NextRequest(const WireRequest& previous, long status,
                                       const char* location, std::string_view proxyList) {
  const bool redirect =
      status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
  if (!redirect || location == nullptr) {
    return std::nullopt;
  }
  const std::optional<UrlTarget> target = ReadUrlTarget(location);
  if (!target) {
    return std::nullopt;
  }
  WireRequest next;
  next.url = location;
  next.hostLine = target->hostLine;
  next.proxy = ProxyForScheme(proxyList, target->scheme);
  next.method = RedirectedMethod(previous.method, status);
  return next;
}

// Points the handle at the request and sets its verb. Methods other than GET
// and HEAD carry the body when there is one, and POST and PUT announce even
// an empty one. HEAD sends none: libcurl's no-body mode, which keeps it from
// waiting for an answer body that never comes, cannot send one.
void AimTransfer(CURL* handle, const WireRequest& wire, const ByteBuffer& body,
                 curl_slist* headers) {
  curl_easy_setopt(handle, CURLOPT_URL, wire.url.c_str());
  curl_easy_setopt(handle, CURLOPT_REQUEST_TARGET,
                   wire.target.empty() ? nullptr : wire.target.c_str());
  curl_easy_setopt(handle, CURLOPT_PROXY, wire.proxy.c_str());
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, nullptr);
  curl_easy_setopt(handle, CURLOPT_NOBODY, 0L);
  curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
  if (wire.method == kMethodGet) {
    return;
  }
  if (wire.method == kMethodHead) {
    curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    return;
  }
  if (!body.empty() || wire.method == kMethodPost || wire.method == kMethodPut) {
    curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(handle, CURLOPT_POSTFIELDS,
                     body.empty() ? "" : reinterpret_cast<const char*>(body.data()));
  }
  if (wire.method != kMethodPost) {
    curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, std::string(MethodVerb(wire.method)).c_str());
  }
}

// Hands one response header line to the ResponseHead `sink`.
std::size_t AddHeaderLine(char* data, std::size_t size, std::size_t count, void* sink) {
  const std::size_t length = size * count;
  try {
    static_cast<ResponseHead*>(sink)->Add({data, length});
  } catch (const std::bad_alloc&) {
    return 0;
  }
  return length;
}

// What the session fixes for every request of the call: HTTP/1.1, the agent
// (cut at a line break, which a header line cannot hold), certificate errors
// ignored, no proxy from the environment, and the header lines gathered.
void SetUpSession(CURL* handle, const ComposedRequest& request, ResponseHead& head) {
  const Text agent = request.agent.substr(0, request.agent.find_first_of("\r\n"));
  curl_easy_setopt(handle, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(handle, CURLOPT_USERAGENT, agent.c_str());
  curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 0L);
  curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 0L);
  curl_easy_setopt(handle, CURLOPT_NOPROXY, "");
  curl_easy_setopt(handle, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, AddHeaderLine);
  curl_easy_setopt(handle, CURLOPT_HEADERDATA, &head);
}

// The body a method other than GET sends: the byte body, or the text body's
// bytes when it is empty, which the caller's byte body then receives.
ByteBuffer BodyToSend(int method, const HttpRequestOptions& options) {
  if (method == kMethodGet) {
    return {};
  }
  if (options.byteBody != nullptr && !options.byteBody->empty()) {
    return *options.byteBody;
  }
  ByteBuffer body(options.textBody.begin(), options.textBody.end());
  if (options.byteBody != nullptr) {
    *options.byteBody = body;
  }
  return body;
}

// Sends the request, following redirects unless told not to; `body` and
// `head` end up holding the last response's.
void Exchange(CURL* handle, WireRequest wire, const ComposedRequest& request,
              const ByteBuffer& sent, bool followRedirects, ByteBuffer& body, ResponseHead& head) {
  for (long redirects = 0;; ++redirects) {
    const CurlList headers = MakeCurlList(CurlHeaderEntries(wire.hostLine, request.headers));
    if (!headers) {
      return;
    }
    AimTransfer(handle, wire, sent, headers.get());
    body.clear();
    head = ResponseHead{};
    if (!PerformTransfer(handle) || !followRedirects || redirects == kMaxRedirects) {
      return;
    }
    char* location = nullptr;
    curl_easy_getinfo(handle, CURLINFO_REDIRECT_URL, &location);
    std::optional<WireRequest> next =
        NextRequest(wire, ResponseStatus(handle), location, request.proxy);
    if (!next) {
      return;
    }
    wire = std::move(*next);
  }
}

}  // namespace

ByteBuffer HttpRequest(std::string_view url, const HttpRequestOptions& options) {
  const ComposedRequest request = ComposeRequest(url, options);
  const HostLimit::Slot slot = RequestHostLimit().Acquire(
      UrlHost(url) + ":" + std::to_string(ServerPort(url, request.secure)));
  if (!slot) {
    return {};
  }
  ByteBuffer body;
  ResponseHead head;
  const CurlEasy handle = NewTransfer(body);
  if (!handle) {
    return {};
  }
  SetUpSession(handle.get(), request, head);
  const bool ownCookies = options.cookies != nullptr;
  const TextList handedOver = ownCookies ? TextList{} : LoadCookieJar(handle.get());
  const ByteBuffer sent = BodyToSend(request.method, options);
  if (std::optional<WireRequest> first = FirstRequest(url, request)) {
    Exchange(handle.get(), std::move(*first), request, sent, !options.noRedirect, body, head);
  }
  if (!ownCookies) {
    SaveCookieJar(handle.get(), handedOver);
  }

  const Text receivedHeaders = head.Block();
  Text receivedCookies = ReceivedCookies(receivedHeaders);
  if (request.mergeCookies && ownCookies) {
    receivedCookies = MergeCookies(*options.cookies, receivedCookies);
  }
  if (options.receivedCookies != nullptr) {
    *options.receivedCookies = std::move(receivedCookies);
  }
  if (options.receivedHeaders != nullptr) {
    *options.receivedHeaders = receivedHeaders;
  }
  return body;
}

}  // namespace vexa
