#include "regex/regex_object.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "text/marker_search.h"
#include "text/page_conversion.h"

namespace vexa {

namespace {

template <typename T, void (*Free)(T*)>
struct Freer {
  void operator()(T* handle) const { Free(handle); }
};
template <typename T, void (*Free)(T*)>
using Owned = std::unique_ptr<T, Freer<T, Free>>;

using Code = Owned<pcre2_code, pcre2_code_free>;
using CompileContext = Owned<pcre2_compile_context, pcre2_compile_context_free>;
using MatchContext = Owned<pcre2_match_context, pcre2_match_context_free>;
using MatchData = Owned<pcre2_match_data, pcre2_match_data_free>;
using JitStack = Owned<pcre2_jit_stack, pcre2_jit_stack_free>;

// Work limit of one engine call: a hostile line makes it give up within a few
// tens of milliseconds, far beyond what an ordinary page needs.
constexpr std::uint32_t kMatchLimit = 5'000'000;
// A search of many matches stops once this has passed, so that many calls
// each just under the work limit cannot add up.
constexpr std::chrono::milliseconds kSearchTimeLimit{50};
// Backtracking memory of one engine call.
constexpr PCRE2_SIZE kJitStackStart = 32 * 1024;
constexpr PCRE2_SIZE kJitStackMax = 4 * 1024 * 1024;

// Options that give PCRE2 the component's meaning: Unicode text with ASCII
// \w \d \s \b, \uHHHH and \xHH escapes, [] and [^], unset back references
// matching the empty text, $ only at the very end without multi-line.
constexpr std::uint32_t kBaseOptions = PCRE2_UTF | PCRE2_NEVER_UCP | PCRE2_NEVER_BACKSLASH_C |
                                       PCRE2_ALT_BSUX | PCRE2_ALLOW_EMPTY_CLASS |
                                       PCRE2_MATCH_UNSET_BACKREF | PCRE2_DOLLAR_ENDONLY;

// `text` as PCRE2's 16-bit code units.
PCRE2_SPTR Units(std::u16string_view text) { return reinterpret_cast<PCRE2_SPTR>(text.data()); }

// Index of the character after the one starting at `index`, a surrogate pair
// being one character.
std::size_t NextCharacter(std::u16string_view text, std::size_t index) {
  const bool pair = index + 1 < text.size() && text[index] >= 0xD800 && text[index] < 0xDC00 &&
                    text[index + 1] >= 0xDC00 && text[index + 1] < 0xE000;
  return index + (pair ? 2 : 1);
}

// `pattern` compiled for the JIT with the given option bits; null when PCRE2
// rejects it or the JIT cannot take it (its time could not be bounded).
Code Compile(std::u16string_view pattern, std::uint32_t options) {
  const CompileContext context(pcre2_compile_context_create(nullptr));
  if (!context) {
    return nullptr;
  }
  // `.` excludes only the line feed; `\i` and other unknown escapes are the
  // letter itself.
  pcre2_set_newline(context.get(), PCRE2_NEWLINE_LF);
  pcre2_set_compile_extra_options(context.get(), PCRE2_EXTRA_BAD_ESCAPE_IS_LITERAL);
  int error = 0;
  PCRE2_SIZE errorOffset = 0;
  Code code(
      pcre2_compile(Units(pattern), pattern.size(), options, &error, &errorOffset, context.get()));
  std::size_t jitSize = 0;
  if (!code || pcre2_jit_compile(code.get(), PCRE2_JIT_COMPLETE) != 0 ||
      pcre2_pattern_info(code.get(), PCRE2_INFO_JITSIZE, &jitSize) != 0 || jitSize == 0) {
    return nullptr;
  }
  return code;
}

}  // namespace

struct RegexObject::Pattern {
  Text text;
  Code code;
  bool global = true;
};

// Per match, the start and end units of the match and of each group in turn,
// PCRE2_UNSET for a group that took no part.
struct RegexObject::Matches {
  std::size_t groupCount = 0;
  std::vector<PCRE2_SIZE> offsets;

  std::size_t Stride() const { return 2 * (groupCount + 1); }
  std::size_t Count() const { return offsets.size() / Stride(); }
};

namespace {

// Every match of `pattern` in `subject` from left to right (the first only
// without `global`), an empty match moving the next try on by one character;
// nothing when the work, memory or time limit stopped the search.
std::optional<std::vector<PCRE2_SIZE>> FindMatches(const pcre2_code* code, bool global,
                                                   std::u16string_view subject) {
  const MatchContext context(pcre2_match_context_create(nullptr));
  const JitStack stack(pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr));
  const MatchData data(pcre2_match_data_create_from_pattern(code, nullptr));
  if (!context || !stack || !data) {
    return std::nullopt;
  }
  pcre2_set_match_limit(context.get(), kMatchLimit);
  pcre2_jit_stack_assign(context.get(), nullptr, stack.get());
  const auto deadline = std::chrono::steady_clock::now() + kSearchTimeLimit;
  const std::size_t pairs = pcre2_get_ovector_count(data.get());
  const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data.get());

  std::vector<PCRE2_SIZE> offsets;
  std::uint32_t options = 0;
  for (std::size_t start = 0; start <= subject.size();) {
    const int result = pcre2_match(code, Units(subject), subject.size(), start, options, data.get(),
                                   context.get());
    if (result == PCRE2_ERROR_NOMATCH) {
      break;
    }
    if (result < 0 || std::chrono::steady_clock::now() > deadline) {
      return std::nullopt;
    }
    // The subject was checked as UTF-16 on the first call.
    options = PCRE2_NO_UTF_CHECK;
    offsets.insert(offsets.end(), ovector, ovector + 2 * pairs);
    if (!global) {
      break;
    }
    // A match always ends at or after the try's start; \K never reaches into
    // a look-around, which PCRE2 refuses by default.
    start = ovector[1] > ovector[0] ? ovector[1] : NextCharacter(subject, ovector[1]);
  }
  return offsets;
}

// Appends `replacement` to `out` for the match whose group spans `group(n)`
// gives (n = 0 for the match), in the component's syntax: $$, $&, $`, $', and
// $n or $nn for an existing group 1 to 99; any other dollar stands for itself.
template <typename Group>
void AppendReplacement(std::u16string& out, std::u16string_view replacement,
                       std::u16string_view before, std::u16string_view after,
                       std::size_t groupCount, Group group) {
  const auto digit = [&](std::size_t i) -> std::optional<std::size_t> {
    if (i < replacement.size() && replacement[i] >= u'0' && replacement[i] <= u'9') {
      return replacement[i] - u'0';
    }
    return std::nullopt;
  };
  for (std::size_t i = 0; i < replacement.size();) {
    const char16_t next = i + 1 < replacement.size() ? replacement[i + 1] : u'\0';
    if (replacement[i] != u'$' || next == u'\0') {
      out.push_back(replacement[i++]);
    } else if (next == u'$') {
      out.push_back(u'$');
      i += 2;
    } else if (next == u'&' || next == u'`' || next == u'\'') {
      out.append(next == u'&' ? group(0) : next == u'`' ? before : after);
      i += 2;
    } else if (const auto first = digit(i + 1)) {
      const auto second = digit(i + 2);
      const std::size_t twoDigits = second ? *first * 10 + *second : 0;
      if (twoDigits >= 1 && twoDigits <= groupCount) {
        out.append(group(twoDigits));
        i += 3;
      } else if (*first >= 1 && *first <= groupCount) {
        out.append(group(*first));
        i += 2;
      } else {
        out.push_back(replacement[i++]);
      }
    } else {
      out.push_back(replacement[i++]);
    }
  }
}

}  // namespace

RegexObject RegexObject::Copy() const {
  RegexObject copy;
  copy.pattern_ = pattern_;
  copy.matches_ = matches_;
  copy.subject_ = subject_;
  return copy;
}

bool RegexObject::Search(std::string_view pattern, std::string_view subject, bool caseSensitive,
                         bool multiline, bool global, bool quotePlaceholder) {
  pattern_.reset();
  matches_.reset();
  Text text = quotePlaceholder ? ReplaceAll(pattern, QuotePlaceholder, "\"") : Text(pattern);
  const std::uint32_t options =
      kBaseOptions | (caseSensitive ? 0 : PCRE2_CASELESS) | (multiline ? PCRE2_MULTILINE : 0);
  if (Code code = Compile(ToUnits(text, kAnsiCodePage).value_or(u""), options)) {
    pattern_ = std::make_shared<const Pattern>(Pattern{std::move(text), std::move(code), global});
  }
  subject_ = ToUnits(subject, kAnsiCodePage).value_or(u"");
  if (!pattern_) {
    return false;
  }
  std::optional<std::vector<PCRE2_SIZE>> offsets =
      FindMatches(pattern_->code.get(), global, subject_);
  if (!offsets) {
    return false;
  }
  std::uint32_t groupCount = 0;
  pcre2_pattern_info(pattern_->code.get(), PCRE2_INFO_CAPTURECOUNT, &groupCount);
  matches_ = std::make_shared<const Matches>(Matches{groupCount, std::move(*offsets)});
  return true;
}

Text RegexObject::PatternText() const { return pattern_ ? pattern_->text : Text(); }

std::u16string_view RegexObject::GroupUnits(std::size_t index, std::size_t group) const {
  if (!matches_ || index >= matches_->Count() || group > matches_->groupCount) {
    return {};
  }
  const PCRE2_SIZE* span = matches_->offsets.data() + index * matches_->Stride() + 2 * group;
  if (span[0] == PCRE2_UNSET || span[1] < span[0] || span[1] > subject_.size()) {
    return {};
  }
  return std::u16string_view(subject_).substr(span[0], span[1] - span[0]);
}

Text RegexObject::ReplaceMatches(std::string_view replacement) const {
  if (!matches_) {
    return {};
  }
  const std::u16string units = ToUnits(replacement, kAnsiCodePage).value_or(u"");
  const std::u16string_view subject(subject_);
  std::u16string out;
  std::size_t copied = 0;
  for (std::size_t index = 0; index < matches_->Count(); ++index) {
    const PCRE2_SIZE* span = matches_->offsets.data() + index * matches_->Stride();
    out.append(subject.substr(copied, span[0] - copied));
    AppendReplacement(out, units, subject.substr(0, span[0]), subject.substr(span[1]),
                      matches_->groupCount,
                      [&](std::size_t group) { return GroupUnits(index, group); });
    copied = span[1];
  }
  out.append(subject.substr(copied));
  return FromUnits(out);
}

int RegexObject::MatchCount() const { return matches_ ? static_cast<int>(matches_->Count()) : 0; }

Text RegexObject::MatchText(int matchNumber) const {
  return matchNumber < 1 ? Text() : FromUnits(GroupUnits(matchNumber - 1, 0));
}

Text RegexObject::SubMatchText(int matchNumber, int groupNumber) const {
  return matchNumber < 1 || groupNumber < 1 ? Text()
                                            : FromUnits(GroupUnits(matchNumber - 1, groupNumber));
}

int RegexObject::SubMatchCount() const {
  return MatchCount() > 0 ? static_cast<int>(matches_->groupCount) : 0;
}

}  // namespace vexa
