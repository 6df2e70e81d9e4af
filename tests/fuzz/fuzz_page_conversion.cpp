// Any bytes in, valid code page 936 out: Utf8ToAnsi never fails, writes only
// characters of the code page's table and agrees with its two steps.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tests/fuzz/require_property.h"
#include "text/page_conversion.h"

namespace vexa {
namespace {

using fuzz::Require;

// Whether `text` is made of ASCII bytes, the single bytes 0x80 and 0xFF, and
// lead bytes 0x81..0xFE each followed by a trail byte 0x40..0x7E or 0x80..0xFE.
bool IsWellFormedGbk(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x81 || byte == 0xFF) {
      continue;
    }
    if (++i == text.size()) {
      return false;
    }
    const auto trail = static_cast<unsigned char>(text[i]);
    if (trail < 0x40 || trail == 0x7F || trail == 0xFF) {
      return false;
    }
  }
  return true;
}

}  // namespace
}  // namespace vexa

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vexa;
  const std::string page(reinterpret_cast<const char*>(data), size);
  const Text text = Utf8ToAnsi(page);
  Require(text == FromUtf16(ToUtf16(page), kGbkCodePage), "one pass equals the two steps");
  const std::string_view beforeNul = std::string_view(page).substr(0, page.find('\0'));
  Require(text.size() <= beforeNul.size(), "no character grows");
  Require(beforeNul.size() == page.size() || text == Utf8ToAnsi(beforeNul),
          "nothing after the first NUL is converted");
  Require(text.find('\0') == Text::npos, "no NUL inside the text");
  Require(IsWellFormedGbk(text), "lead bytes have trail bytes");
  // Every pair is one of the table's characters: it reads back without a
  // replacement character and writes back to the same bytes.
  const std::optional<std::u16string> units = ToUnits(text, kGbkCodePage);
  Require(units.has_value() && units->find(u'\xFFFD') == std::u16string::npos,
          "every character is in the code page 936 table");
  Require(FromUnits(*units, kGbkCodePage) == text, "the text survives a round trip");
  return 0;
}
