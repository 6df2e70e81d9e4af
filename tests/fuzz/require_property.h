// Stops a fuzz run when a property breaks: libFuzzer reports the abort as a
// crash and keeps the input that caused it.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace vexa::fuzz {

inline void Require(bool holds, const char* property) {
  if (!holds) {
    std::fprintf(stderr, "broken property: %s\n", property);
    std::abort();
  }
}

}  // namespace vexa::fuzz
