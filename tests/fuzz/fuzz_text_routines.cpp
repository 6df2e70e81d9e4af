// Properties of the text, URL, header and cookie routines that must hold for
// any input. A broken property aborts, which libFuzzer reports as a crash.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "http/cookie_merge.h"
#include "http/header_names.h"
#include "http/url_parts.h"
#include "tests/fuzz/require_property.h"
#include "text/marker_search.h"
#include "text/text.h"
#include "text/unique_join.h"

namespace vexa {
namespace {

using fuzz::Require;

bool IsPieceOf(std::string_view piece, std::string_view whole) {
  return whole.find(piece) != std::string_view::npos;
}

void CheckMarkerSearches(std::string_view text, std::string_view left, std::string_view right,
                         Position start, bool caseInsensitive) {
  Require(IsPieceOf(TextBetween(text, left, right, start, caseInsensitive), text),
          "TextBetween gives a piece of its input");
  Require(text.starts_with(TextBefore(text, left, start, caseInsensitive)),
          "TextBefore gives a prefix of its input");
  Require(IsPieceOf(TextAfterColon(text), text), "TextAfterColon gives a piece of its input");

  const Position found = FindForward(text, left, start, caseInsensitive);
  Require(found == kNotFound ||
              (found >= 1 && static_cast<std::size_t>(found - 1) + left.size() <= text.size()),
          "FindForward reports a position inside the text");
  const Position before = FindBackward(text, left, start, caseInsensitive);
  Require(before == kNotFound ||
              (before >= 1 && before + static_cast<Position>(left.size()) - 1 <= start - 1 &&
               before + static_cast<Position>(left.size()) - 1 <= static_cast<Position>(text.size())),
          "FindBackward reports a match inside the searched bytes");
}

void CheckSplitting(std::string_view text, std::string_view separator) {
  TextList characters{"left over"};
  const auto count = SplitCharacters(text, characters);
  Require(count == static_cast<std::ptrdiff_t>(characters.size()),
          "SplitCharacters counts its pieces");
  Require(JoinTexts(characters, "") == text, "SplitCharacters pieces give back the input");

  const TextList pieces = SplitText(text, separator);
  const Text joined = JoinTexts(pieces, separator);
  Require(joined == text || (!separator.empty() && joined + Text(separator) == text),
          "split pieces joined give back the input, less a final separator");

  // Re-splitting the joined text shows the pieces again only where no lead
  // byte can swallow the first byte of a separator.
  if (std::ranges::any_of(text, IsLeadByte)) {
    return;
  }
  const TextList unique = SplitText(JoinUnique(text, "; ", true), "; ");
  for (std::size_t i = 0; i < unique.size(); ++i) {
    Require(FindInList(unique, unique[i]) == static_cast<Position>(i + 1),
            "JoinUnique leaves no repeated piece");
  }
}

void CheckCookieMerge(std::string_view oldText, std::string_view newText) {
  Text cookies(oldText);
  const Text merged = MergeCookies(cookies, newText);
  Require(cookies == merged, "MergeCookies leaves its first argument equal to its result");
  Require(!merged.ends_with("; "), "MergeCookies never ends in a separator");
  for (const Text& pair : SplitText(merged, "; ")) {
    Require(!pair.ends_with("=deleted"), "MergeCookies drops deleted pairs");
  }
}

void CheckHeaderNames(std::string_view headers) {
  TextList kept;
  for (const Text& line : SplitText(headers, "\r\n")) {
    const Text rewritten = NormalizeHeaderNames(line);
    const Position colon = FindForward(line, ":");
    if (colon == kNotFound) {
      Require(rewritten.empty(), "NormalizeHeaderNames drops a line without a colon");
      continue;
    }
    const auto tail = static_cast<std::size_t>(colon - 1);
    Require(rewritten.size() == line.size() &&
                std::string_view(rewritten).substr(tail) == std::string_view(line).substr(tail),
            "NormalizeHeaderNames never changes a byte after a line's first colon");
    Require(AsciiLower(rewritten) == AsciiLower(line),
            "NormalizeHeaderNames changes only letter case in names");
    kept.push_back(rewritten);
  }
  Require(NormalizeHeaderNames(headers) == JoinTexts(kept, "\r\n"),
          "NormalizeHeaderNames rewrites a block line by line");
}

void CheckUrlParts(std::string_view url, int suffixLabels, bool domainOnly, bool keepPort) {
  const Text host = UrlHost(url, domainOnly, keepPort, suffixLabels);
  Require(AsciiLower(host) == host, "UrlHost is lower case");
  Require(AsciiLower(UrlHost(url)) == UrlHost(url), "UrlHost is lower case");
  Require(UrlPath(url).starts_with("/"), "UrlPath begins with a slash");
  static_cast<void>(UrlPort(url));
}

}  // namespace
}  // namespace vexa

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const auto start = input.ConsumeIntegralInRange<vexa::Position>(-64, 4096);
  const auto suffixLabels = input.ConsumeIntegralInRange<int>(-2, 6);
  const bool flag = input.ConsumeBool();
  const bool otherFlag = input.ConsumeBool();
  const std::string left = input.ConsumeRandomLengthString(16);
  const std::string right = input.ConsumeRandomLengthString(16);
  const std::string other = input.ConsumeRandomLengthString(256);
  const std::string text = input.ConsumeRemainingBytesAsString();

  vexa::CheckMarkerSearches(text, left, right, start, flag);
  vexa::CheckSplitting(text, left);
  vexa::CheckCookieMerge(other, text);
  vexa::CheckCookieMerge(text, other);
  vexa::CheckHeaderNames(text);
  vexa::CheckUrlParts(text, suffixLabels, flag, otherFlag);
  return 0;
}
