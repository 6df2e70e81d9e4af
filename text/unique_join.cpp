#include "text/unique_join.h"

#include <algorithm>
#include <unordered_set>

namespace vexa {

namespace {

constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';

// True when the byte at `index` starts a two-byte piece for SplitCharacters:
// a byte 0x81..0xFF, or CR, with a partner byte (LF for CR) after it.
bool StartsPairPiece(std::string_view text, std::size_t index) {
  if (index + 1 >= text.size()) {
    return false;
  }
  const auto byte = static_cast<unsigned char>(text[index]);
  return byte >= 0x81 || (text[index] == kCarriageReturn && text[index + 1] == kLineFeed);
}

}  // namespace

Text JoinUnique(std::string_view text, std::string_view separator, bool bySeparator) {
  TextList pieces;
  if (bySeparator) {
    pieces = SplitText(text, separator);
  } else {
    SplitCharacters(text, pieces);
  }
  // Keeps the first occurrence of every piece in its place; the set only
  // spares the linear look-up among the pieces kept so far.
  std::unordered_set<std::string_view> seen;
  TextList kept;
  for (const Text& piece : pieces) {
    if (seen.insert(piece).second) {
      kept.push_back(piece);
    }
  }
  return JoinTexts(kept, separator);
}

std::ptrdiff_t SplitCharacters(std::string_view text, TextList& pieces) {
  pieces.clear();
  for (std::size_t index = 0; index < text.size();) {
    const std::size_t length = StartsPairPiece(text, index) ? 2 : 1;
    pieces.emplace_back(text.substr(index, length));
    index += length;
  }
  return static_cast<std::ptrdiff_t>(pieces.size());
}

Position FindInList(const TextList& list, std::string_view text) {
  const auto found = std::find(list.begin(), list.end(), text);
  return found == list.end() ? kNotFound : static_cast<Position>(found - list.begin()) + 1;
}

}  // namespace vexa
