// Host, port and path of a web address with or without an http(s) scheme.
#pragma once

#include <optional>
#include <string_view>

#include "text/text.h"

namespace vexa {

// Lower-case host. Omitting `suffixLabels` selects the plain mode; giving it,
// whatever its value, shortens the host to its last labels.
Text UrlHost(std::string_view url, bool domainOnly = false, bool keepPort = false,
             std::optional<int> suffixLabels = std::nullopt);

// The explicit port (text after the host's last colon), else 443 for an
// address beginning "https", else 80.
int UrlPort(std::string_view url);

// The address from the first "/" after the host to its end, or "/".
Text UrlPath(std::string_view url);

}  // namespace vexa
