#include "http/response_cookies.h"

#include "text/marker_search.h"

namespace vexa {
namespace {

// The line with every "Set-Cookie:" removed, ASCII case ignored.
Text WithoutSetCookie(std::string_view line) {
  constexpr std::string_view marker = "Set-Cookie:";
  Text rest;
  Position from = 1;
  for (Position found = FindForward(line, marker, from, true); found != kNotFound;
       found = FindForward(line, marker, from, true)) {
    rest += line.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(found - from));
    from = found + static_cast<Position>(marker.size());
  }
  if (static_cast<std::size_t>(from - 1) < line.size()) {
    rest += line.substr(static_cast<std::size_t>(from - 1));
  }
  return rest;
}

}  // namespace

Text ReceivedCookies(std::string_view headerBlock) {
  Text cookies;
  for (const Text& line : SplitText(headerBlock, "\r\n")) {
    if (TextBefore(line, ": ") != "Set-Cookie") {
      continue;
    }
    const bool hasAttributes = FindForward(line, ";") != kNotFound;
    cookies += Trim(hasAttributes ? TextBetween(line, "Set-Cookie:", ";") : WithoutSetCookie(line));
    cookies += "; ";
  }
  if (!cookies.empty()) {
    cookies.resize(cookies.size() - 2);
  }
  return cookies;
}

}  // namespace vexa
