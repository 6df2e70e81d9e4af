// Canonical capitalisation of request header names.
#pragma once

#include <string_view>

#include "text/text.h"

namespace vexa {

// Keeps the lines that hold a colon and upper-cases the first byte of every
// dash-separated segment of each name; bytes after the first colon never change.
Text NormalizeHeaderNames(std::string_view headers);

// The text with its first byte upper-cased (ASCII letters only).
Text CapitalizeFirst(std::string_view text);

}  // namespace vexa
