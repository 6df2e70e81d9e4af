// Arbitrary patterns over arbitrary subjects: Search never crashes or hangs,
// and what it reports holds together.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "regex/regex_object.h"
#include "tests/fuzz/require_property.h"
#include "text/page_conversion.h"

namespace vexa {
namespace {

using fuzz::Require;

// Matches read in full; the rest only counted, to keep each run short.
constexpr int kMatchesRead = 64;

void CheckResults(const RegexObject& regex, const Text& subject, bool found) {
  const int count = regex.MatchCount();
  const int groups = regex.SubMatchCount();
  Require(count >= 0 && groups >= 0, "counts are never negative");
  Require(found || (count == 0 && groups == 0), "a failed search has no matches");
  Require(count > 0 || groups == 0, "no groups without a match");
  // The subject as the engine saw it, back in code page 936.
  const Text seen = FromUnits(ToUnits(subject, kAnsiCodePage).value_or(u""));
  for (int match = -1; match <= count + 1 && match <= kMatchesRead; ++match) {
    const Text text = regex.MatchText(match);
    Require(match >= 1 && match <= count ? seen.find(text) != Text::npos : text.empty(),
            "a match is a piece of the subject, and only existing matches have text");
    for (int group = -1; group <= groups + 1; ++group) {
      const Text part = regex.SubMatchText(match, group);
      Require(part.empty() || (match >= 1 && match <= count && group >= 1 && group <= groups &&
                               seen.find(part) != Text::npos),
              "a group is a piece of the subject, and only existing groups have text");
    }
  }
  if (count <= kMatchesRead && subject.size() <= 4096) {
    const Text replaced = regex.ReplaceMatches("<$1$&$`$'$$$99$0>");
    Require(found || replaced.empty(), "nothing is replaced after a failed search");
  }
}

}  // namespace
}  // namespace vexa

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vexa;
  FuzzedDataProvider input(data, size);
  const bool caseSensitive = input.ConsumeBool();
  const bool multiline = input.ConsumeBool();
  const bool global = input.ConsumeBool();
  const bool quotePlaceholder = input.ConsumeBool();
  const Text pattern = input.ConsumeRandomLengthString(512);
  const Text subject = input.ConsumeRemainingBytesAsString();

  RegexObject regex;
  const bool found =
      regex.Search(pattern, subject, caseSensitive, multiline, global, quotePlaceholder);
  CheckResults(regex, subject, found);
  const RegexObject copy = regex.Copy();
  Require(copy.MatchCount() == regex.MatchCount() && copy.PatternText() == regex.PatternText(),
          "a copy reports the same results");
  regex.Search("(x)", "x");
  CheckResults(copy, subject, found);
  return 0;
}
