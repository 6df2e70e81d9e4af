#include "http/cookie_jar.h"

#include <cstddef>
#include <map>
#include <mutex>
#include <string_view>

#include "http/curl_handle.h"

namespace vexa {
namespace {

// Cookie lines in libcurl's file format, by their domain, path and name.
class CookieStore {
 public:
  TextList Lines() {
    std::lock_guard lock(mutex_);
    TextList lines;
    lines.reserve(cookies_.size());
    for (const auto& entry : cookies_) {
      lines.push_back(entry.second);
    }
    return lines;
  }

  void Fold(const TextList& handedOver, const TextList& endedWith) {
    std::lock_guard lock(mutex_);
    std::map<Text, Text> kept;
    for (const Text& line : endedWith) {
      kept.emplace(Key(line), line);
    }
    for (const Text& line : handedOver) {
      const Text key = Key(line);
      const auto stored = cookies_.find(key);
      if (!kept.contains(key) && stored != cookies_.end() && stored->second == line) {
        cookies_.erase(stored);
      }
    }
    for (auto& [key, line] : kept) {
      cookies_.insert_or_assign(key, std::move(line));
    }
  }

 private:
  // Domain (without libcurl's "#HttpOnly_" mark), path and name of a line:
  // its tab-separated fields 1, 3 and 6 (the whole line when it has fewer).
  static Text Key(std::string_view line) {
    constexpr std::string_view httpOnlyMark = "#HttpOnly_";
    if (line.starts_with(httpOnlyMark)) {
      line.remove_prefix(httpOnlyMark.size());
    }
    TextList fields;
    std::size_t start = 0;
    while (fields.size() < 6) {
      const std::size_t tab = line.find('\t', start);
      if (tab == std::string_view::npos) {
        return Text(line);
      }
      fields.emplace_back(line.substr(start, tab - start));
      start = tab + 1;
    }
    return fields[0] + '\t' + fields[2] + '\t' + fields[5];
  }

  std::mutex mutex_;
  std::map<Text, Text> cookies_;
};

CookieStore& ProcessCookies() {
  static CookieStore store;
  return store;
}

}  // namespace

TextList LoadCookieJar(CURL* handle) {
  curl_easy_setopt(handle, CURLOPT_COOKIEFILE, "");
  TextList lines = ProcessCookies().Lines();
  for (const Text& line : lines) {
    curl_easy_setopt(handle, CURLOPT_COOKIELIST, line.c_str());
  }
  return lines;
}

void SaveCookieJar(CURL* handle, const TextList& handedOver) {
  curl_slist* raw = nullptr;
  if (curl_easy_getinfo(handle, CURLINFO_COOKIELIST, &raw) != CURLE_OK) {
    return;
  }
  ProcessCookies().Fold(handedOver, CurlListLines(CurlList(raw)));
}

}  // namespace vexa
