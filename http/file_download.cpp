#include "http/file_download.h"

#include <curl/curl.h>

#include <optional>
#include <string>

#include "http/cookie_jar.h"
#include "http/curl_handle.h"
#include "http/host_limits.h"

namespace vexa {

DownloadResult DownloadWholeFile(std::string_view address) {
  const Text url(address.substr(0, address.find('#')));
  const std::optional<UrlTarget> target = ReadUrlTarget(url);
  if (!target) {
    return {};
  }
  const HostLimit::Slot slot =
      DownloadHostLimit().Acquire(target->host + ":" + std::to_string(target->port));
  if (!slot) {
    return {};
  }
  DownloadResult result;
  const CurlEasy handle = NewTransfer(result.body);
  if (!handle) {
    return {};
  }
  CURL* h = handle.get();
  const Text agent(DownloadAgent);
  curl_easy_setopt(h, CURLOPT_URL, url.c_str());
  curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
  curl_easy_setopt(h, CURLOPT_USERAGENT, agent.c_str());
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, kMaxRedirects);
  const TextList handedOver = LoadCookieJar(h);
  const bool transferred = PerformTransfer(h);
  SaveCookieJar(h, handedOver);
  const long status = ResponseStatus(h);
  result.complete = transferred && status >= 200 && status < 400;
  return result;
}

}  // namespace vexa
