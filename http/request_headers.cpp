#include "http/request_headers.h"

#include <array>
#include <cstddef>

#include "http/header_names.h"
#include "http/url_parts.h"
#include "text/marker_search.h"

namespace vexa {
namespace {

constexpr std::array<std::string_view, 8> kVerbs = {"GET",     "POST",   "HEAD",  "PUT",
                                                    "OPTIONS", "DELETE", "TRACE", "CONNECT"};

// Whether `headers` holds `name` anywhere, ASCII case ignored.
bool Mentions(std::string_view headers, std::string_view name) {
  return FindForward(headers, name, 1, true) != kNotFound;
}

// The index, or GET's for one outside the verb table.
int ClampedMethod(int method) {
  return method < 0 || method >= static_cast<int>(kVerbs.size()) ? 0 : method;
}

// The agent named in the header text, else the default one.
Text AgentOf(const Text& headers) {
  if (!Mentions(headers, "User-Agent:")) {
    return Text(DefaultAgent);
  }
  Text agent = Trim(TextBetween(headers + "\r\n", "User-Agent:", "\r\n"));
  return agent.empty() ? TextAfterColon(headers) : agent;
}

// The default lines that a header text lacks, appended in their fixed order.
void CompleteDefaults(Text& headers, std::string_view url, int method) {
  if (headers.empty()) {
    headers = "Accept: */*";
  }
  if (!Mentions(headers, "Accept:")) {
    headers += "\r\nAccept: */*";
  }
  if (!Mentions(headers, "Referer:")) {
    headers += "\r\nReferer: ";
    headers += url;
  }
  if (!Mentions(headers, "Accept-Language:")) {
    headers += "\r\nAccept-Language: zh-cn";
  }
  if (method == kMethodPost && !Mentions(headers, "Content-Type:")) {
    headers += "\r\nContent-Type: application/x-www-form-urlencoded";
  }
}

// The cookie line; a cookie text that carries its own "Cookie:" goes as it is.
void AppendCookieLine(Text& headers, std::string_view cookies) {
  if (cookies.empty()) {
    return;
  }
  headers += FindForward(cookies, "Cookie:") == kNotFound ? "\r\nCookie: " : "\r\n";
  headers += cookies;
}

}  // namespace

std::string_view MethodVerb(int method) {
  return kVerbs[static_cast<std::size_t>(ClampedMethod(method))];
}

long ServerPort(std::string_view url, bool secure) {
  const int port = UrlPort(url);
  if (port != 0) {
    return port;
  }
  return secure ? 443 : 80;
}

ComposedRequest ComposeRequest(std::string_view url, const HttpRequestOptions& options) {
  ComposedRequest request;
  request.mergeCookies = options.mergeCookies.value_or(true);
  const bool completeHeaders = options.completeHeaders.value_or(true);
  const bool normalizeNames = options.normalizeNames.value_or(true);

  request.headers = normalizeNames ? NormalizeHeaderNames(options.headers) : options.headers;
  request.method = ClampedMethod(options.method);
  request.secure = AsciiLower(url.substr(0, 8)) == "https://";
  request.agent = AgentOf(request.headers);
  if (!options.proxy.empty()) {
    request.proxy = request.secure ? options.proxy : "http=" + options.proxy;
  }
  if (completeHeaders) {
    CompleteDefaults(request.headers, url, request.method);
  }
  if (options.cookies != nullptr) {
    AppendCookieLine(request.headers, *options.cookies);
  }
  return request;
}

}  // namespace vexa
