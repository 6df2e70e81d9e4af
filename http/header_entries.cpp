#include "http/header_entries.h"

#include <cstddef>

namespace vexa {
namespace {

// Whether the line's name (the bytes before its first colon) is `name`,
// ASCII case ignored.
bool LineNames(std::string_view line, std::string_view name) {
  const std::size_t colon = line.find(':');
  return colon != std::string_view::npos && AsciiLower(line.substr(0, colon)) == AsciiLower(name);
}

}  // namespace

TextList CurlHeaderEntries(std::string_view hostLine, std::string_view headers) {
  Text block = "Host: ";
  block += hostLine;
  bool namesAgent = false;
  bool namesLength = false;
  std::size_t start = 0;
  while (start < headers.size()) {
    std::size_t end = headers.find("\r\n", start);
    if (end == std::string_view::npos) {
      end = headers.size();
    }
    const std::string_view line = headers.substr(start, end - start);
    if (!line.empty()) {
      block += "\r\n";
      block += line;
      namesAgent = namesAgent || LineNames(line, "User-Agent");
      namesLength = namesLength || LineNames(line, "Content-Length");
    }
    start = end + 2;
  }
  TextList entries = {block, "Accept:", "Content-Type:", "Expect:", "Proxy-Connection:"};
  if (namesAgent) {
    entries.emplace_back("User-Agent:");
  }
  if (namesLength) {
    entries.emplace_back("Content-Length:");
  }
  return entries;
}

}  // namespace vexa
