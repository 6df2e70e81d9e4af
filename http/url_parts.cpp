#include "http/url_parts.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "text/marker_search.h"

namespace vexa {

namespace {

constexpr std::string_view kHttp = "http://";
constexpr std::string_view kHttps = "https://";

// The text before the first `marker` (found at a character start), or all of it.
Text CutBefore(std::string_view text, std::string_view marker) {
  const Position found = FindForward(text, marker);
  return Text(found == kNotFound ? text : text.substr(0, static_cast<std::size_t>(found - 1)));
}

// The text from 1-based `position` to its end.
Text TailFrom(std::string_view text, Position position) {
  return Text(text.substr(static_cast<std::size_t>(position - 1)));
}

// Every occurrence of `marker` that starts a character removed, scanning from the left.
Text RemoveAll(std::string_view text, std::string_view marker) {
  return JoinTexts(SplitText(text, marker), "");
}

// The host (with any port) after the scheme of a lower-cased address; an
// address without "http://" anywhere counts as one that starts with it.
Text PlainHost(Text s, bool domainOnly) {
  if (!s.ends_with('/')) {
    s += '/';
  }
  if (s.starts_with(kHttps)) {
    s = TextBetween(s, kHttps, "/");
  } else {
    if (FindForward(s, kHttp) == kNotFound) {
      s.insert(0, kHttp);
    }
    s = TextBetween(s, kHttp, "/");
  }
  if (domainOnly) {
    const TextList labels = SplitText(s, ".");
    if (labels.size() >= 2) {
      s = labels[labels.size() - 2] + "." + labels.back();
    }
  }
  return s;
}

// The host of a lower-cased address shortened to its last labels: the last
// `suffixLabels` + 1 with `domainOnly`, the last `suffixLabels` + 2 without.
Text SuffixHost(std::string_view url, bool domainOnly, int suffixLabels) {
  Text s = CutBefore(RemoveAll(RemoveAll(url, kHttp), kHttps), "/");
  // The first search starts at the length, so a dot in the last byte never counts.
  auto m = static_cast<Position>(s.size());
  for (int i = 0; i < suffixLabels && m != kNotFound; ++i) {
    m = FindBackward(s, ".", m);
  }
  const Position o = FindBackward(s, ".", m);
  if (o == kNotFound) {
    return s;
  }
  if (domainOnly) {
    return TailFrom(s, o + 1);
  }
  const Position o2 = FindBackward(s, ".", o);
  return o2 == kNotFound ? s : TailFrom(s, o2 + 1);
}

// A decimal digit read from a text; a length of 0 means there was none.
struct Digit {
  int value = 0;
  std::size_t length = 0;
};

// The digit (ASCII, or full-width A3 B0..A3 B9) at the start of `text`.
Digit LeadingDigit(std::string_view text) {
  if (!text.empty() && text[0] >= '0' && text[0] <= '9') {
    return {text[0] - '0', 1};
  }
  if (text.size() >= 2 && text[0] == '\xA3' && text[1] >= '\xB0' && text[1] <= '\xB9') {
    return {text[1] - '\xB0', 2};
  }
  return {};
}

// Reads a decimal integer: spaces and tabs first, an optional sign, then the
// digits up to the first other byte; no digits read as 0. Values beyond the
// int range saturate at its ends instead of overflowing.
int ReadDecimal(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
    text.remove_prefix(1);
  }
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  constexpr std::int64_t kLimit = static_cast<std::int64_t>(INT_MAX) + 1;
  std::int64_t magnitude = 0;
  for (Digit digit = LeadingDigit(text); digit.length > 0; digit = LeadingDigit(text)) {
    magnitude = std::min(magnitude * 10 + digit.value, kLimit);
    text.remove_prefix(digit.length);
  }
  if (negative) {
    return static_cast<int>(-magnitude);
  }
  return static_cast<int>(std::min<std::int64_t>(magnitude, INT_MAX));
}

}  // namespace

Text UrlHost(std::string_view url, bool domainOnly, bool keepPort,
             std::optional<int> suffixLabels) {
  const Text lowered = AsciiLower(url);
  Text s = suffixLabels ? SuffixHost(lowered, domainOnly, *suffixLabels)
                        : PlainHost(lowered, domainOnly);
  if (!keepPort) {
    s = CutBefore(s, ":");
  }
  return s;
}

int UrlPort(std::string_view url) {
  const Text host = UrlHost(url, false, true);
  const Position colon = FindBackward(host, ":", static_cast<Position>(host.size()) + 1);
  if (colon != kNotFound) {
    return ReadDecimal(std::string_view(host).substr(static_cast<std::size_t>(colon)));
  }
  return AsciiLower(url.substr(0, 5)) == "https" ? 443 : 80;
}

Text UrlPath(std::string_view url) {
  const Position hostAt = FindForward(url, UrlHost(url), 1, true);
  // A host that is not found leaves the search for "/" starting at byte 1.
  const Position slash = FindForward(url, "/", hostAt, true);
  return slash == kNotFound ? Text("/") : TailFrom(url, slash);
}

}  // namespace vexa
