#include "http/curl_handle.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <new>
#include <string>
#include <utility>

#include "http/http_client.h"

namespace vexa {
namespace {

using CurlUrl = CurlOwned<CURLU, curl_url_cleanup>;
using CurlText = CurlOwned<char, curl_free>;

// Room reserved ahead for an announced body at most; a larger body grows as
// it arrives, so a false length cannot claim much memory.
constexpr curl_off_t kMostReserved = 64 * 1024 * 1024;

// Appends one chunk of a response body to the ByteBuffer that the handle
// `sink` keeps as its private pointer; the first chunk reserves room for the
// whole announced length, so the body is never copied over as it grows.
// Returning less than the chunk (memory exhausted) ends the transfer.
std::size_t AppendBody(char* data, std::size_t size, std::size_t count, void* sink) {
  const std::size_t length = size * count;
  try {
    CURL* handle = sink;
    char* owner = nullptr;
    curl_easy_getinfo(handle, CURLINFO_PRIVATE, &owner);
    auto* body = reinterpret_cast<ByteBuffer*>(owner);
    curl_off_t announced = -1;
    if (body->empty() &&
        curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced) == CURLE_OK &&
        announced > 0) {
      body->reserve(static_cast<std::size_t>(std::min(announced, kMostReserved)));
    }
    body->insert(body->end(), data, data + length);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  return length;
}

// Non-zero (end the transfer) once the client is stopping.
int StopCheck(void*, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return HttpClientStopping() ? 1 : 0;
}

// One part of a parsed address; empty when libcurl has none for it.
Text UrlPart(CURLU* url, CURLUPart part, unsigned int flags) {
  char* raw = nullptr;
  if (curl_url_get(url, part, &raw, flags) != CURLUE_OK) {
    return {};
  }
  const CurlText owned(raw);
  return owned.get();
}

}  // namespace

CurlList MakeCurlList(const TextList& lines) {
  CurlList list;
  for (const Text& line : lines) {
    curl_slist* longer = curl_slist_append(list.get(), line.c_str());
    if (longer == nullptr) {
      return {};
    }
    static_cast<void>(list.release());
    list.reset(longer);
  }
  return list;
}

TextList CurlListLines(CurlList list) {
  TextList lines;
  for (const curl_slist* item = list.get(); item != nullptr; item = item->next) {
    lines.emplace_back(item->data);
  }
  return lines;
}

CurlEasy NewTransfer(ByteBuffer& body) {
  CurlEasy handle(curl_easy_init());
  if (!handle) {
    return handle;
  }
  CURL* h = handle.get();
  const HttpTimeouts timeouts = CurrentHttpTimeouts();
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, static_cast<long>(timeouts.connect.count()));
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, static_cast<long>(timeouts.stall.count()));
  curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, StopCheck);
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, AppendBody);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, h);
  curl_easy_setopt(h, CURLOPT_PRIVATE, &body);
  return handle;
}

bool PerformTransfer(CURL* handle) { return curl_easy_perform(handle) == CURLE_OK; }

long ResponseStatus(CURL* handle) {
  long status = 0;
  curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
  return status;
}

std::optional<UrlTarget> ReadUrlTarget(std::string_view url) {
  const CurlUrl parsed(curl_url());
  const std::string text(url);
  if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, text.c_str(), 0) != CURLUE_OK) {
    return std::nullopt;
  }
  UrlTarget target;
  target.scheme = UrlPart(parsed.get(), CURLUPART_SCHEME, 0);
  target.host = UrlPart(parsed.get(), CURLUPART_HOST, 0);
  const Text port = UrlPart(parsed.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT);
  if ((target.scheme != "http" && target.scheme != "https") || target.host.empty() ||
      port.empty()) {
    return std::nullopt;
  }
  std::from_chars(port.data(), port.data() + port.size(), target.port);
  const Text explicitPort = UrlPart(parsed.get(), CURLUPART_PORT, CURLU_NO_DEFAULT_PORT);
  target.hostLine = explicitPort.empty() ? target.host : target.host + ":" + explicitPort;
  return target;
}

}  // namespace vexa
