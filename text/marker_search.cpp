#include "text/marker_search.h"

#include <vector>

namespace vexa {

namespace {

constexpr std::string_view kDoubleQuote = "\"";

// Byte as the comparison sees it: ASCII letters folded to lower case when asked.
char ComparedByte(char byte, bool caseInsensitive) {
  return caseInsensitive ? AsciiLowerByte(byte) : byte;
}

// Calls `onMatch` with the 0-based start of every occurrence of the non-empty
// `marker` in `text` that lies on a character start, counting characters from
// byte `from`, in increasing order until `onMatch` returns true. Linear in the
// text and marker lengths (Knuth-Morris-Pratt), so hostile texts cost no more.
template <typename OnMatch>
void ScanMatches(std::string_view text, std::size_t from, std::string_view marker,
                 bool caseInsensitive, OnMatch onMatch) {
  const auto same = [caseInsensitive](char a, char b) {
    return ComparedByte(a, caseInsensitive) == ComparedByte(b, caseInsensitive);
  };
  // fallback[i]: length of the longest proper border of marker[0..i].
  std::vector<std::size_t> fallback(marker.size(), 0);
  for (std::size_t i = 1, border = 0; i < marker.size(); ++i) {
    while (border > 0 && !same(marker[i], marker[border])) {
      border = fallback[border - 1];
    }
    if (same(marker[i], marker[border])) {
      ++border;
    }
    fallback[i] = border;
  }
  std::size_t matched = 0;
  std::size_t characterStart = from;
  for (std::size_t i = from; i < text.size(); ++i) {
    while (matched > 0 && !same(text[i], marker[matched])) {
      matched = fallback[matched - 1];
    }
    if (same(text[i], marker[matched])) {
      ++matched;
    }
    if (matched < marker.size()) {
      continue;
    }
    const std::size_t candidate = i + 1 - marker.size();
    while (characterStart < candidate) {
      characterStart += CharacterLength(text, characterStart);
    }
    if (characterStart == candidate && onMatch(candidate)) {
      return;
    }
    matched = fallback[matched - 1];
  }
}

}  // namespace

Position FindForward(std::string_view text, std::string_view marker, Position start,
                     bool caseInsensitive) {
  const Position first = start < 1 ? 1 : start;
  if (first > static_cast<Position>(text.size())) {
    return kNotFound;
  }
  if (marker.empty()) {
    return first;
  }
  Position found = kNotFound;
  ScanMatches(text, static_cast<std::size_t>(first - 1), marker, caseInsensitive,
              [&found](std::size_t index) {
                found = static_cast<Position>(index) + 1;
                return true;
              });
  return found;
}

Position FindBackward(std::string_view text, std::string_view marker, Position start,
                      bool caseInsensitive) {
  if (start <= 1 || text.empty()) {
    return kNotFound;
  }
  const std::size_t considered = start - 1 < static_cast<Position>(text.size())
                                     ? static_cast<std::size_t>(start - 1)
                                     : text.size();
  if (marker.empty()) {
    return 1;
  }
  Position found = kNotFound;
  ScanMatches(text.substr(0, considered), 0, marker, caseInsensitive, [&found](std::size_t index) {
    found = static_cast<Position>(index) + 1;
    return false;
  });
  return found;
}

Text TextBetween(std::string_view text, std::string_view left, std::string_view right,
                 Position start, bool caseInsensitive) {
  const Text leftMarker = ReplaceAll(left, QuotePlaceholder, kDoubleQuote);
  const Text rightMarker = ReplaceAll(right, QuotePlaceholder, kDoubleQuote);
  const Position leftAt = FindForward(text, leftMarker, start, caseInsensitive);
  if (leftAt == kNotFound) {
    return {};
  }
  const Position from = leftAt + static_cast<Position>(leftMarker.size());
  const Position rightAt = FindForward(text, rightMarker, from, caseInsensitive);
  if (rightAt == kNotFound || rightAt <= from) {
    return {};
  }
  return Text(
      text.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(rightAt - from)));
}

Text TextBefore(std::string_view text, std::string_view marker, Position start,
                bool caseInsensitive) {
  Position found = kNotFound;
  if (start < 0) {
    // -1 searches the whole text; -n for larger n leaves out the last n bytes.
    const Position length = static_cast<Position>(text.size());
    const Position backwardStart = start == -1 ? length + 1 : length + 1 + start;
    found = FindBackward(text, marker, backwardStart, caseInsensitive);
  } else {
    found = FindForward(text, marker, start, caseInsensitive);
  }
  if (found == kNotFound) {
    return {};
  }
  return Text(text.substr(0, static_cast<std::size_t>(found - 1)));
}

Text TextAfterColon(std::string_view text) {
  const Position colonAt = FindForward(text, ":");
  if (colonAt == kNotFound) {
    return {};
  }
  return Trim(text.substr(static_cast<std::size_t>(colonAt)));
}

}  // namespace vexa
