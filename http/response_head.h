// The raw header block of a response, gathered from libcurl's header lines.
#pragma once

#include <cstddef>
#include <string_view>

#include "text/text.h"

namespace vexa {

// The buffer the block must fit into together with a terminating NUL.
inline constexpr std::size_t kResponseHeadBuffer = 5000;

class ResponseHead {
 public:
  // One line as libcurl delivers it, line break included. A status line
  // starts a new block (an interim or redirect response is replaced by the
  // next one); lines after the empty line that ends a head (trailers) are
  // not part of it.
  void Add(std::string_view line);

  // The status line and header lines separated by CR LF; 5000 blanks when no
  // response arrived or the block and a NUL do not fit in 5000 bytes.
  Text Block() const;

 private:
  Text block_;
  bool received_ = false;
  bool inHead_ = false;
  bool tooLong_ = false;
};

}  // namespace vexa
