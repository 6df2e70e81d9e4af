// What the gallery queries send to the site and look for in its pages.
#pragma once

#include <string_view>

namespace vexa {

// Header text of every page fetch. No blank follows "User-Agent:".
inline constexpr std::string_view PageRequestHeaders =
    "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,image/webp,image/apng,*/*;"
    "q=0.8,application/signed-exchange;v=b3\r\n"
    "User-Agent:Mozilla/5.0 (Windows NT 10.0; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/78.0.3904.108 Safari/537.36 QIHU 360SE";

// A picture entry of an album page: path, width, height.
inline constexpr std::string_view EntryPattern =
    R"re(\{"img":"(.[\w+/\w+/\w+.jpg]*).,"width":(.[0-9]*),"height":(.[0-9]*))re";

// Entries with empty text and content members: path, width, -, -, height.
inline constexpr std::string_view FallbackEntryPattern =
    R"re(\{"img":"(.[\w+/\w+/\w+.jpg]*).,"width":(.[0-9]*)."text":"()","content":"()","height":(.[0-9]*))re";

// The album title: the heading line's text after its last blank.
inline constexpr std::string_view TitlePattern = R"re(\<h2 class=".* (.*)<.h2>)re";

// One link per line of a user page: an href followed by a class attribute.
inline constexpr std::string_view WorkLinkPattern = R"re(\<a href="(.*)" class)re";

// The author's name on a user page.
inline constexpr std::string_view AuthorPattern = R"re(\<span class="author_name">(.*)<.span>)re";

}  // namespace vexa
