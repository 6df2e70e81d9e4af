// The cookies that a response sets, taken from its raw header block.
#pragma once

#include <string_view>

#include "text/text.h"

namespace vexa {

// A cookie text of the first name=value pair of every line whose text before
// its first ": " is exactly "Set-Cookie"; empty when there is none.
Text ReceivedCookies(std::string_view headerBlock);

}  // namespace vexa
