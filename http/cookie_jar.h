// The process-wide cookie store of requests that bring no cookies of their
// own. Each transfer works on a copy in its own handle, so libcurl's domain,
// path and expiry rules apply, and what it ends with is folded back.
#pragma once

#include <curl/curl.h>

#include "text/text.h"

namespace vexa {

// Switches the handle's cookie engine on and gives it the store's cookies;
// returns the lines handed over, for SaveCookieJar.
TextList LoadCookieJar(CURL* handle);

// Folds the handle's cookies into the store: new and changed cookies replace
// those of the same domain, path and name, and cookies that were handed over
// but that the handle no longer holds (deleted or expired) leave the store.
void SaveCookieJar(CURL* handle, const TextList& handedOver);

}  // namespace vexa
