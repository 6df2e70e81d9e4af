// Cutting pieces out of a text by markers. Markers match only where a
// character starts, never at the second byte of a two-byte character.
#pragma once

#include <cstddef>
#include <string_view>

#include "text/text.h"

namespace vexa {

// 1-based byte position in a text; -1 means "not found".
using Position = std::ptrdiff_t;
inline constexpr Position kNotFound = -1;

// "#引号" in code page 936: a marker written with it matches a double quote.
inline constexpr std::string_view QuotePlaceholder = "#\xD2\xFD\xBA\xC5";

// First match of `marker` at a character start at or after byte `start`
// (values below 1 count as 1). An empty marker is found at the first
// considered byte when the considered range is not empty.
Position FindForward(std::string_view text, std::string_view marker, Position start = 1,
                     bool caseInsensitive = false);

// Last match of `marker` lying wholly within the first `start - 1` bytes.
Position FindBackward(std::string_view text, std::string_view marker, Position start,
                      bool caseInsensitive = false);

// Text between the first `left` at or after `start` and the next `right`
// after it; every QuotePlaceholder in the markers stands for a double quote.
Text TextBetween(std::string_view text, std::string_view left, std::string_view right,
                 Position start = 0, bool caseInsensitive = false);

// Text from the beginning up to the marker found from `start` (forward), or,
// for a negative start -n, within all but the last n bytes (backward; -1
// searches the whole text backward).
Text TextBefore(std::string_view text, std::string_view marker, Position start = 0,
                bool caseInsensitive = false);

// The trimmed text after the first colon; empty without a colon.
Text TextAfterColon(std::string_view text);

}  // namespace vexa
