// Folding received cookies into the cookies a client already holds.
#pragma once

#include <string_view>

#include "text/text.h"

namespace vexa {

// New pairs first, then the old pairs whose names the new text lacks;
// "=deleted" pairs and exact repeats vanish. `oldCookies` receives the result,
// which is also returned.
Text MergeCookies(Text& oldCookies, std::string_view newCookies);

// The trimmed text before the pair's first "=" (the whole pair without one).
Text CookieName(std::string_view pair);

// Whether some pair in the list has that name (byte for byte).
bool CookieListHasName(const TextList& pairs, std::string_view name);

}  // namespace vexa
