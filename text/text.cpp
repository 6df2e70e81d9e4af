#include "text/text.h"

namespace vexa {

namespace {

constexpr std::string_view kAsciiSpace = " ";
constexpr std::string_view kFullWidthSpace = "\xA1\xA1";

// Calls `change` on every byte that starts a character, leaving second bytes alone.
template <typename Change>
Text ChangeCharacterStarts(std::string_view text, Change change) {
  Text result(text);
  for (std::size_t i = 0; i < result.size(); i += CharacterLength(result, i)) {
    result[i] = change(result[i]);
  }
  return result;
}

}  // namespace

char AsciiLowerByte(char byte) {
  return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte;
}

char AsciiUpperByte(char byte) {
  return byte >= 'a' && byte <= 'z' ? static_cast<char>(byte - 'a' + 'A') : byte;
}

bool AsciiEqualIgnoreCase(char a, char b) {
  return AsciiLowerByte(a) == AsciiLowerByte(b);
}

Text AsciiLower(std::string_view text) {
  return ChangeCharacterStarts(text, AsciiLowerByte);
}

Text AsciiUpper(std::string_view text) {
  return ChangeCharacterStarts(text, AsciiUpperByte);
}

Text Trim(std::string_view text) {
  while (text.starts_with(kAsciiSpace) || text.starts_with(kFullWidthSpace)) {
    text.remove_prefix(text.starts_with(kAsciiSpace) ? kAsciiSpace.size() : kFullWidthSpace.size());
  }
  while (text.ends_with(kAsciiSpace) || text.ends_with(kFullWidthSpace)) {
    text.remove_suffix(text.ends_with(kAsciiSpace) ? kAsciiSpace.size() : kFullWidthSpace.size());
  }
  return Text(text);
}

TextList SplitText(std::string_view text, std::string_view separator) {
  TextList pieces;
  if (text.empty()) {
    return pieces;
  }
  if (separator.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  std::size_t pieceStart = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text.substr(i).starts_with(separator)) {
      pieces.emplace_back(text.substr(pieceStart, i - pieceStart));
      i += separator.size();
      pieceStart = i;
    } else {
      i += CharacterLength(text, i);
    }
  }
  if (pieceStart < text.size()) {
    pieces.emplace_back(text.substr(pieceStart));
  }
  return pieces;
}

Text ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) {
    return Text(text);
  }
  Text result;
  result.reserve(text.size());
  std::size_t start = 0;
  for (std::size_t found = text.find(from); found != std::string_view::npos;
       found = text.find(from, start)) {
    result.append(text.substr(start, found - start)).append(to);
    start = found + from.size();
  }
  result.append(text.substr(start));
  return result;
}

Text JoinTexts(const TextList& pieces, std::string_view separator) {
  Text result;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) {
      result.append(separator);
    }
    result.append(pieces[i]);
  }
  return result;
}

}  // namespace vexa
