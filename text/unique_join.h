// Splitting texts into pieces or characters and joining them without repeats.
#pragma once

#include <string_view>

#include "text/marker_search.h"
#include "text/text.h"

namespace vexa {

// Takes the text apart at `separator` (bySeparator) or into characters, keeps
// the first occurrence of every piece and joins the survivors with `separator`.
Text JoinUnique(std::string_view text, std::string_view separator, bool bySeparator);

// Replaces `pieces` by one piece per character: a byte 0x81..0xFF with the
// byte after it, CR LF, or any other single byte. Returns the piece count.
std::ptrdiff_t SplitCharacters(std::string_view text, TextList& pieces);

// 1-based position of the first element equal to `text` (byte for byte), or -1.
Position FindInList(const TextList& list, std::string_view text);

}  // namespace vexa
