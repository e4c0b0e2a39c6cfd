// Matching of the search string and of keywords while a line is painted.
#pragma once
#include <cstddef>

#include "platform/byte_string.h"

namespace vintorel {

// The search string prepared for matching: the bytes to look for and whether a
// word boundary is needed before and after a match.
struct highlight_pattern {
  byte_string bytes;
  bool need_start = true;
  bool need_end = true;
};

// With `word_search`, a leading "*" and an unescaped trailing "*" lift the
// boundary on their side, and backslashes that stand alone are dropped.
highlight_pattern prepare_highlight(const byte_string& search, bool word_search);

// Whether a match of `pattern` starts at byte `p` of `line`. Never reads past
// the end of `line`.
bool highlight_at(const byte_string& line, std::size_t p, const highlight_pattern& pattern, bool ignore_case,
                  bool word_search);

// ASCII letter, digit or "_".
bool is_word_byte(unsigned char c);

// Length of the keyword of `keywords` (NUL-terminated strings ended by an
// empty one) that matches at byte `p` of `line`, or 0. A keyword that ends in
// a word character matches only when no word character follows it.
std::size_t keyword_at(const byte_string& keywords, const byte_string& line, std::size_t p);

}  // namespace vintorel
