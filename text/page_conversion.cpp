#include "text/page_conversion.h"

#include <unicode/ucnv.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>

namespace vexa {

namespace {

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// ICU converter for a Windows code page (0 being 936): Windows' own 936 table,
// UTF-8, or ICU's windows-N or cpN table for any other number; null when ICU
// has none. Characters the target lacks are written as "?".
Converter OpenConverter(int codePage) {
  if (codePage == kAnsiCodePage) {
    codePage = kGbkCodePage;
  }
  std::array<std::string, 2> names;
  if (codePage == kGbkCodePage) {
    // The bare "windows-936" alias is ambiguous in ICU; this is Windows' table.
    names = {"windows-936-2000", ""};
  } else if (codePage == kUtf8CodePage) {
    names = {"UTF-8", ""};
  } else if (codePage > 0) {
    names = {"windows-" + std::to_string(codePage), "cp" + std::to_string(codePage)};
  }
  for (const std::string& name : names) {
    UErrorCode error = U_ZERO_ERROR;
    Converter converter(name.empty() ? nullptr : ucnv_open(name.c_str(), &error));
    if (converter && U_SUCCESS(error)) {
      ucnv_setSubstString(converter.get(), u"?", 1, &error);
      return converter;
    }
  }
  return nullptr;
}

// `text` up to its first NUL byte.
std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

// Calls `step(&target, limit, &error)` (one ICU conversion call that writes at
// `target` and moves it on) into `out`, starting with `capacity` units and
// growing while ICU asks for room. `out` ends as what was written; false when
// ICU reported an error.
template <typename Unit, typename Step>
bool Drain(std::basic_string<Unit>& out, std::size_t capacity, Step step) {
  std::size_t written = 0;
  for (out.resize(capacity);; out.resize(out.size() * 2 + 16)) {
    Unit* target = out.data() + written;
    UErrorCode error = U_ZERO_ERROR;
    step(&target, out.data() + out.size(), &error);
    written = static_cast<std::size_t>(target - out.data());
    if (error != U_BUFFER_OVERFLOW_ERROR) {
      out.resize(written);
      return U_SUCCESS(error);
    }
  }
}

// Code pages whose tables keep ASCII unchanged: those the program uses.
bool KeepsAscii(int codePage) {
  return codePage == kAnsiCodePage || codePage == kGbkCodePage || codePage == kUtf8CodePage;
}

}  // namespace

std::optional<std::u16string> ToUnits(std::string_view text, int codePage) {
  const Converter converter = OpenConverter(codePage);
  if (!converter) {
    return std::nullopt;
  }
  text = UpToNul(text);
  const char* source = text.data();
  const char* const sourceEnd = source + text.size();
  std::u16string units;
  // Neither UTF-8 nor code page 936 gives more units than bytes.
  const bool converted =
      Drain(units, text.size(), [&](char16_t** target, char16_t* limit, UErrorCode* error) {
        ucnv_toUnicode(converter.get(), target, limit, &source, sourceEnd, nullptr, true, error);
      });
  if (!converted) {
    return std::nullopt;
  }
  return units;
}

Text FromUnits(std::u16string_view units, int codePage) {
  units = units.substr(0, units.find(u'\0'));
  if (KeepsAscii(codePage) &&
      std::all_of(units.begin(), units.end(), [](char16_t unit) { return unit < 0x80; })) {
    return Text(units.begin(), units.end());
  }
  const Converter converter = OpenConverter(codePage);
  if (!converter) {
    return {};
  }
  const char16_t* source = units.data();
  const char16_t* const sourceEnd = source + units.size();
  Text text;
  const bool converted =
      Drain(text, units.size() * 2, [&](char** target, char* limit, UErrorCode* error) {
        ucnv_fromUnicode(converter.get(), target, limit, &source, sourceEnd, nullptr, true, error);
      });
  return converted ? text : Text();
}

ByteBuffer ToUtf16(std::string_view text, int codePage) {
  const std::optional<std::u16string> units = ToUnits(text, codePage);
  if (!units) {
    return {};
  }
  ByteBuffer buffer;
  buffer.reserve(2 * (units->size() + 1));
  for (const char16_t unit : *units) {
    buffer.push_back(static_cast<unsigned char>(unit & 0xFF));
    buffer.push_back(static_cast<unsigned char>(unit >> 8));
  }
  buffer.insert(buffer.end(), 2, 0);
  return buffer;
}

Text FromUtf16(const ByteBuffer& buffer, int codePage) {
  std::u16string units(buffer.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(buffer[2 * i] | buffer[2 * i + 1] << 8);
  }
  return FromUnits(units, codePage);
}

Text Utf8ToAnsi(std::string_view page) {
  const Converter utf8 = OpenConverter(kUtf8CodePage);
  const Converter gbk = OpenConverter(kGbkCodePage);
  if (!utf8 || !gbk) {
    return {};
  }
  page = UpToNul(page);
  const char* source = page.data();
  const char* const sourceEnd = source + page.size();
  // ICU goes from UTF-8 to the target table directly; the pivot only carries
  // what that path hands over (replacement characters among them).
  std::array<char16_t, 1024> pivot{};
  char16_t* pivotSource = pivot.data();
  char16_t* pivotTarget = pivot.data();
  bool reset = true;
  Text text;
  // No character takes more bytes in code page 936 than in UTF-8.
  const bool converted =
      Drain(text, page.size(), [&](char** target, char* limit, UErrorCode* error) {
        ucnv_convertEx(gbk.get(), utf8.get(), target, limit, &source, sourceEnd, pivot.data(),
                       &pivotSource, &pivotTarget, pivot.data() + pivot.size(), reset, true, error);
        reset = false;
      });
  return converted ? text : Text();
}

}  // namespace vexa
