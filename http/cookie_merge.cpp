#include "http/cookie_merge.h"

#include <algorithm>
#include <utility>

#include "text/marker_search.h"
#include "text/unique_join.h"

namespace vexa {

namespace {

constexpr std::string_view kPairSeparator = "; ";
constexpr std::string_view kDeletedMark = "=deleted";

// The pairs of a cookie text, trimmed first; a final ";" counts as a separator.
TextList CookiePairs(std::string_view cookies) {
  Text closed = Trim(cookies);
  if (closed.ends_with(';')) {
    closed += ' ';
  }
  return SplitText(closed, kPairSeparator);
}

// Whether the server marked the pair as deleted (exact, lower case).
bool IsDeletedPair(std::string_view pair) { return pair.ends_with(kDeletedMark); }

}  // namespace

Text MergeCookies(Text& oldCookies, std::string_view newCookies) {
  // Both texts are read into lists before `oldCookies` is written: the new
  // text may be a view of it.
  TextList merged = CookiePairs(newCookies);
  for (const Text& pair : CookiePairs(oldCookies)) {
    // Tested against the growing list, so only the first of several old
    // pairs with one name survives.
    if (!CookieListHasName(merged, CookieName(pair))) {
      merged.push_back(pair);
    }
  }
  std::erase_if(merged, [](const Text& pair) { return IsDeletedPair(pair); });
  Text result = JoinUnique(JoinTexts(merged, kPairSeparator), kPairSeparator, true);
  // An empty last pair leaves a final separator; the split in JoinUnique drops
  // it unless a stray lead byte before it swallows its ";". Merged cookie texts
  // never end in a separator, whatever bytes they hold.
  while (result.ends_with(kPairSeparator)) {
    result.resize(result.size() - kPairSeparator.size());
  }
  oldCookies = std::move(result);
  return oldCookies;
}

Text CookieName(std::string_view pair) {
  const Position equals = FindForward(pair, "=");
  return Trim(equals == kNotFound ? pair : pair.substr(0, static_cast<std::size_t>(equals - 1)));
}

bool CookieListHasName(const TextList& pairs, std::string_view name) {
  return std::any_of(pairs.begin(), pairs.end(),
                     [name](const Text& pair) { return CookieName(pair) == name; });
}

}  // namespace vexa
