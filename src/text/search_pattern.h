// The search string prepared for matching, the test whether a match starts at a
// place in a line, and the left-to-right scan for matches that searching,
// replacing and painting share.
//
// Matches start only at character starts and never end inside a character.
// With word search on, a pattern that begins with a word character (an ASCII
// letter, digit or "_") matches only where no word character comes before it,
// and one that ends with a word character only where none follows, unless a
// leading or trailing "*" lifts that rule.
#pragma once
#include <cstddef>
#include <string_view>

#include "platform/byte_string.h"
#include "text/edit_context.h"

namespace vintorel {

struct search_pattern {
  byte_string bytes;        // what to look for
  std::size_t n = 0;        // its length
  bool need_start = true;   // a word boundary is needed before a match
  bool need_end = true;     // and after it
  bool ignore_case = false;
  bool word_search = true;

  // Derived by prepare_pattern for the matching.
  bool usable = false;      // false: matches nothing (empty, or holds a line end)
  byte_string folded;       // bytes with single-byte letters in lower case
  byte_string single;       // 1 where the byte is a single-byte character
  bool first_is_word = false;
  bool last_is_word = false;     // its last character is a single-byte word character
  bool ends_in_lead = false;     // it ends in a lead byte with no second byte
};

// ASCII letter, digit or "_".
bool is_word_byte(unsigned char c);

// The pattern for `search_string` under the "ignore case" and "word search"
// switches: with word search a leading "*" and a trailing "*" not escaped by a
// backslash are dropped and lift the boundary on their side, and backslashes
// that stand alone are dropped.
search_pattern prepare_pattern(const byte_string& search_string, bool ignore_case,
                               bool word_search);
// The same from the program's search string and switches; unusable without
// search strings.
search_pattern prepare_pattern(const edit_context& context);

// Whether a match starts at byte `p` of `line` (a line in the internal form).
bool matches_at(std::string_view line, std::size_t p, const search_pattern& pattern);

// Offset where the line's text ends: its first CR or end mark, else its size.
std::size_t content_end(std::string_view line);

// Walks one line left to right finding matches. Successive calls to next() must
// not go backwards; each call costs in proportion to the bytes it passes over.
class match_scanner {
 public:
  match_scanner(std::string_view line, const search_pattern& pattern);

  // The first match starting at or after `from` and before `start_limit`, and
  // ending at or before `end_limit`; npos when there is none.
  std::size_t next(std::size_t from, std::size_t start_limit, std::size_t end_limit);

  // Tells the scanner that the character ending just before `at` is no longer
  // what the line holds (a replacement went in there): a match starting at `at`
  // is judged with `word_before` as whether that character is a word character.
  void assume_before(std::size_t at, bool word_before);
  // Whether the character before `p` counts as a word character (what
  // assume_before said for its place, else what the line holds).
  bool word_before(std::size_t p) const;

 private:
  bool starts_character(std::size_t q, std::size_t floor) const;
  std::size_t next_candidate(std::size_t from);

  std::string_view line_;
  const search_pattern& pattern_;
  std::size_t known_start_ = 0;   // a character start at or before the scan
  std::size_t anchor_ = 0;        // ignoring case: the pattern byte candidates are found by
  bool two_cases_ = false;        // ignoring case: by both cases of the first letter
  std::size_t next_lower_ = 0, next_upper_ = 0;  // cached candidates of each case
  bool lower_valid_ = false, upper_valid_ = false;
  std::size_t assumed_at_ = std::string_view::npos;
  bool assumed_word_ = false;
};

}  // namespace vintorel
