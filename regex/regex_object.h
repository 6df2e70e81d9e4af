// A regular expression run over a code page 936 text, with the texts of its
// matches and capture groups read by 1-based numbers. Matching works on the
// UTF-16 form of pattern and subject (PCRE2 in UTF mode), with the meaning of
// the scripting component's syntax where the program's patterns rely on it:
// `.` stops only at a line feed, `\w` is ASCII, escaped punctuation is literal.
//
// An object is made, used and destroyed on one thread. Nothing fails loudly:
// a rejected pattern or a number out of range gives false, 0 or the empty text.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "text/text.h"

namespace vexa {

class RegexObject {
 public:
  RegexObject() = default;
  RegexObject(RegexObject&&) noexcept = default;
  RegexObject& operator=(RegexObject&&) noexcept = default;
  RegexObject(const RegexObject&) = delete;
  RegexObject& operator=(const RegexObject&) = delete;
  ~RegexObject() = default;

  // A new object sharing this one's compiled pattern and last matches, with a
  // subject of its own.
  RegexObject Copy() const;

  // Runs `pattern` over `subject`, replacing the previous search. With
  // `quotePlaceholder`, every "#引号" of the pattern stands for a double quote.
  // Without `global` only the first match is kept. True when the search ran to
  // its end (with or without matches); false for a rejected pattern and for a
  // search stopped by its work or time limit, which keeps no matches.
  bool Search(std::string_view pattern, std::string_view subject, bool caseSensitive = false,
              bool multiline = true, bool global = true, bool quotePlaceholder = false);

  // The pattern of the last search as the engine was given it; empty before
  // the first search and after a rejected pattern.
  Text PatternText() const;

  // The last subject with every match of the last search replaced by
  // `replacement`, in which $1 to $99, $&, $`, $' and $$ stand for a group, the
  // match, the text before it, the text after it and a dollar sign.
  Text ReplaceMatches(std::string_view replacement) const;

  int MatchCount() const;
  Text MatchText(int matchNumber) const;
  Text SubMatchText(int matchNumber, int groupNumber) const;
  // Capture groups of the first match; 0 when there is no match.
  int SubMatchCount() const;

 private:
  struct Pattern;
  struct Matches;

  // The UTF-16 units of group `group` (0: the whole match) of match `index`
  // (both 0-based); empty when there is no such match or group.
  std::u16string_view GroupUnits(std::size_t index, std::size_t group) const;

  std::shared_ptr<const Pattern> pattern_;
  std::shared_ptr<const Matches> matches_;
  std::u16string subject_;
};

}  // namespace vexa
