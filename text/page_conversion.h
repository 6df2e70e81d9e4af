// Conversions between Windows code pages and UTF-16. Pages arrive as UTF-8;
// every text inside the program is code page 936.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "text/text.h"

namespace vexa {

// Windows code page numbers the program uses.
inline constexpr int kAnsiCodePage = 0;  // the system's ANSI code page, 936 here
inline constexpr int kUtf8CodePage = 65001;
inline constexpr int kGbkCodePage = 936;

// Characters of `text` up to its first NUL byte, read in `codePage`; bytes that
// do not form a character become U+FFFD. Nothing when the code page is unknown.
std::optional<std::u16string> ToUnits(std::string_view text, int codePage);

// `units` up to the first zero unit written in `codePage`; a character the code
// page lacks becomes "?". Empty when the code page is unknown.
Text FromUnits(std::u16string_view units, int codePage = kAnsiCodePage);

// `text` read in `codePage` as little-endian UTF-16 units ending with one zero
// unit; the empty buffer when the code page is unknown.
ByteBuffer ToUtf16(std::string_view text, int codePage = kUtf8CodePage);

// The units of `buffer` up to its first zero unit, written in `codePage`.
Text FromUtf16(const ByteBuffer& buffer, int codePage = kAnsiCodePage);

// A UTF-8 page as a code page 936 text, up to the page's first NUL byte. Gives
// the same bytes as FromUtf16(ToUtf16(page), 936) in one pass.
Text Utf8ToAnsi(std::string_view page);

}  // namespace vexa
