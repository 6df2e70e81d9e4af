// Shared text types: code page 936 byte strings, lists of them, byte buffers.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

// Code page 936 bytes, held by value; the empty and the missing text are one.
// Lengths and positions count bytes; routines that report positions use 1-based
// positions and -1 for "not found".
using Text = std::string;

// Ordered list of texts; routines that report positions in it count from 1.
using TextList = std::vector<Text>;

// Owned bytes (a fetched body, a UTF-16 buffer); empty stands for "nothing".
using ByteBuffer = std::vector<unsigned char>;

// A byte of 0x80 or more starts a two-byte character.
constexpr bool IsLeadByte(char byte) {
  return static_cast<unsigned char>(byte) >= 0x80;
}

// Length in bytes of the character starting at `index` (1 or 2; a lead byte at
// the very end is a character of its own).
constexpr std::size_t CharacterLength(std::string_view text, std::size_t index) {
  return IsLeadByte(text[index]) && index + 1 < text.size() ? 2 : 1;
}

char AsciiLowerByte(char byte);
char AsciiUpperByte(char byte);
bool AsciiEqualIgnoreCase(char a, char b);

// Case changes touch ASCII letters only, never the second byte of a
// two-byte character.
Text AsciiLower(std::string_view text);
Text AsciiUpper(std::string_view text);

// Removes ASCII spaces and full-width spaces (A1 A1) at both ends; tabs, CR and
// LF are not blanks.
Text Trim(std::string_view text);

// Cuts `text` at every occurrence of `separator` that starts a character,
// scanning from the left. Empty pieces at the start and between separators
// count; an empty tail does not. An empty text gives no pieces, an empty
// separator the whole text as one piece.
TextList SplitText(std::string_view text, std::string_view separator);

// Replaces every occurrence of `from` (byte-exact, scanning from the left) by `to`.
Text ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// Joins the texts with the separator between them.
Text JoinTexts(const TextList& pieces, std::string_view separator);

}  // namespace vexa
