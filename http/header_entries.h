// Handing a composed header text to libcurl so that it goes out byte for byte.
#pragma once

#include <string_view>

#include "text/text.h"

namespace vexa {

// libcurl sends a header entry only when it has a name and a non-blank value,
// takes "Name:" as "leave this header out", and would end the header block at
// an empty line. The composed text therefore travels as one entry behind the
// Host line, which libcurl passes on verbatim: every line byte for byte except
// empty lines, which are left out because one would end the block early. The
// further entries keep libcurl's own lines out: Accept, Content-Type, Expect
// and Proxy-Connection always, User-Agent and Content-Length when the text
// names them itself.
TextList CurlHeaderEntries(std::string_view hostLine, std::string_view headers);

}  // namespace vexa
