#include "http/proxy_list.h"

#include <cstddef>

namespace vexa {

Text ProxyForScheme(std::string_view proxyList, std::string_view scheme) {
  constexpr std::string_view separators = " ;";
  Text anyScheme;
  std::size_t start = proxyList.find_first_not_of(separators);
  while (start != std::string_view::npos) {
    const std::size_t end = proxyList.find_first_of(separators, start);
    const std::string_view entry = proxyList.substr(start, end - start);
    const std::size_t equals = entry.find('=');
    if (equals == std::string_view::npos) {
      if (anyScheme.empty()) {
        anyScheme = entry;
      }
    } else if (AsciiLower(entry.substr(0, equals)) == scheme) {
      return Text(entry.substr(equals + 1));
    }
    start = proxyList.find_first_not_of(separators, end);
  }
  return anyScheme;
}

}  // namespace vexa
