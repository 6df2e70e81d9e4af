#include "http/header_names.h"

#include "text/marker_search.h"

namespace vexa {

namespace {

constexpr std::string_view kLineBreak = "\r\n";

// The name with the first byte of every dash-separated segment capitalised;
// empty segments (doubled or trailing dashes) are kept.
Text CapitalizeSegments(std::string_view name) {
  Text result;
  Position segmentStart = 1;
  for (Position dash = FindForward(name, "-"); dash != kNotFound;
       dash = FindForward(name, "-", segmentStart)) {
    result += CapitalizeFirst(name.substr(static_cast<std::size_t>(segmentStart - 1),
                                          static_cast<std::size_t>(dash - segmentStart)));
    result += '-';
    segmentStart = dash + 1;
  }
  return result + CapitalizeFirst(name.substr(static_cast<std::size_t>(segmentStart - 1)));
}

}  // namespace

Text NormalizeHeaderNames(std::string_view headers) {
  TextList kept;
  for (const Text& line : SplitText(headers, kLineBreak)) {
    const Position colon = FindForward(line, ":");
    if (colon == kNotFound) {
      continue;  // not a header line
    }
    const auto nameLength = static_cast<std::size_t>(colon - 1);
    // Everything from the colon on stays byte for byte.
    kept.push_back(CapitalizeSegments(std::string_view(line).substr(0, nameLength)) +
                   line.substr(nameLength));
  }
  return JoinTexts(kept, kLineBreak);
}

Text CapitalizeFirst(std::string_view text) {
  Text result(text);
  if (!result.empty()) {
    // A lead byte is no ASCII letter, so a two-byte character stays as it is.
    result.front() = AsciiUpperByte(result.front());
  }
  return result;
}

}  // namespace vexa
