// Choosing a proxy from a proxy list as the system's HTTP service takes it.
#pragma once

#include <string_view>

#include "text/text.h"

namespace vexa {

// The proxy for a request of `scheme` ("http" or "https"). The list holds
// entries separated by blanks or semicolons; "scheme=server" serves that
// scheme only, a plain "server" every scheme, and an entry for the scheme
// wins over a plain one. Empty means a direct connection.
Text ProxyForScheme(std::string_view proxyList, std::string_view scheme);

}  // namespace vexa
