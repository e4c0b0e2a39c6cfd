// Finding the first or last line that holds a match of a search pattern among
// lines other than the cursor line. Lines are judged one at a time by the
// match_scanner rules; with an exact-case pattern over a Shift_JIS file, a run
// of unedited lines that lie one after another in the file is not fetched line
// by line: its bytes are read in large pieces and searched with one memmem
// scan, and only the lines where the pattern's bytes occur are fetched and
// judged. Both ways give the same result.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/search_pattern.h"
#include "text/text_document.h"

namespace vintorel {

struct line_match {
  std::int32_t line = -1;  // -1: no match
  std::size_t offset = 0;  // of the match in the line's internal form
};

// The match a forward search takes in `line` (internal form), the first that
// starts at or after `from`; npos when it has none or it lies behind a stray CR.
std::size_t first_match_in_line(std::string_view line, std::size_t from, const search_pattern& pattern);
// The match a backward search takes: the last that starts before `limit` (at
// most the line's content end) and ends within the content; npos when none.
std::size_t last_match_in_line(std::string_view line, std::size_t limit, const search_pattern& pattern);

// The first line of [first, end) holding a match, each line searched from its
// start; lines that cannot be read hold none. `by_blocks` false judges every
// line on its own (the reference for tests).
line_match first_match_in_lines(text_document& document, const search_pattern& pattern, std::int32_t first,
                                std::int32_t end, bool by_blocks = true);
// The last line of [first, last] holding a match, with its last match, walking
// down from `last`.
line_match last_match_in_lines(text_document& document, const search_pattern& pattern, std::int32_t last,
                               std::int32_t first, bool by_blocks = true);

}  // namespace vintorel
