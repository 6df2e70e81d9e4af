// The whole-file download of a picture.
#pragma once

#include <string_view>

#include "text/text.h"

namespace vexa {

struct DownloadResult {
  // The bytes that arrived, possibly none.
  ByteBuffer body;
  // A whole, successful answer: a status below 400, every announced byte,
  // and no connection failure, reset, time-out or stop.
  bool complete = false;
};

inline constexpr std::string_view DownloadAgent =
    "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

// One GET over HTTP/1.0 asking for any content type, with the fragment
// dropped, always from the server, following redirects, through the proxy
// that the usual environment variables name, with the cookies of the
// process's store. Unlike HttpRequest it checks https certificates, as the
// system's download service did. At most four downloads per host and port
// run at a time, the others wait. An address that is not a readable http or
// https one gives an empty, incomplete result.
DownloadResult DownloadWholeFile(std::string_view address);

}  // namespace vexa
