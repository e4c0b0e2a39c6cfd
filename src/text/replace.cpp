// Replacement at the cursor and the bulk replacements.
#include "text/replace.h"

#include <algorithm>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/cp932.h"
#include "text/block.h"
#include "text/char_class.h"
#include "text/motion.h"
#include "text/positions.h"
#include "text/search_pattern.h"
#include "text/search_strings.h"

namespace vintorel {

namespace {

constexpr std::size_t npos = std::string_view::npos;

void adjust_size(text_document& document, std::int64_t delta) {
  if (document.size >= 0) document.size += delta;
}

// Whether `replacement` keeps a line whole: no line end, no end mark, and no
// lead byte left without its second byte at the end.
bool keeps_line_whole(const byte_string& replacement) {
  if (replacement.find_first_of("\r\n\x1A") != byte_string::npos) return false;
  std::size_t at = 0;
  std::size_t last = 0;
  while (at < replacement.size()) {
    last = at;
    at += character_length(replacement, at);
  }
  return replacement.empty() ||
         !(last + 1 == replacement.size() &&
           is_lead_byte(static_cast<unsigned char>(replacement[last])));
}

// Where an offset of a line goes when `n` bytes at `p` become `r` bytes: behind
// the replaced text it moves with it, inside it to the replacement's end.
std::int32_t shifted(std::int32_t offset, std::size_t p, std::size_t n, std::size_t r) {
  auto q = static_cast<std::size_t>(std::max(offset, 0));
  if (q <= p) return offset;
  if (q < p + n) return static_cast<std::int32_t>(p + r);
  return static_cast<std::int32_t>(q - n + r);
}

// What the bulk replacements share: the prepared pattern and the replacement.
struct replacement_job {
  search_pattern pattern;
  byte_string replacement;
  bool replacement_ends_in_word = false;  // its last character is a word character
};

bool prepare_job(const text_document& document, const edit_context& context, replacement_job& job) {
  if (!document.current || document.state == read_only_state || !context.search) return false;
  job.pattern = prepare_pattern(context);
  job.replacement = context.search->replace_string;
  if (!job.pattern.usable || !keeps_line_whole(job.replacement)) return false;
  // The replacement ends in a whole character, so its last byte is a single
  // character exactly when it is not a second byte.
  const byte_string& r = job.replacement;
  job.replacement_ends_in_word =
      !r.empty() && is_word_byte(static_cast<unsigned char>(r.back())) &&
      !is_trail_byte(r.c_str(), r.c_str() + r.size() - 1);
  return true;
}

// An offset in some line that has to follow the replacements made in it.
struct tracked_offset {
  std::int32_t line;
  std::int32_t* offset;
};

// Replaces, left to right, the matches that start at or after (first_line,
// first_offset) and before (last_line, last_offset); last_offset npos means the
// end of that line. With `ends_within` a match must also end by last_offset.
std::int64_t replace_range(text_document& document, edit_context& context,
                           const replacement_job& job, std::int32_t first_line,
                           std::size_t first_offset, std::int32_t last_line,
                           std::size_t last_offset, bool ends_within,
                           std::vector<tracked_offset> tracked) {
  const search_pattern& pattern = job.pattern;
  const byte_string& replacement = job.replacement;
  std::int64_t delta_per_match =
      static_cast<std::int64_t>(replacement.size()) - static_cast<std::int64_t>(pattern.n);
  std::int64_t total = 0;
  byte_string fetched;
  last_line = std::min(last_line, document.line_count() - 1);
  for (std::int32_t line = std::max(first_line, 0); line <= last_line; ++line) {
    bool cursor_line = line == document.current_line && document.current;
    if (!cursor_line && !document.fetch_line(line, fetched)) continue;
    std::string_view text = cursor_line ? std::string_view(document.current->text) : fetched;
    std::size_t end = content_end(text);
    std::size_t start_limit = end;
    std::size_t end_limit = end;
    if (line == last_line && last_offset != npos) {
      start_limit = std::min(last_offset, end);
      if (ends_within) end_limit = start_limit;
    }
    std::size_t from = line == first_line ? first_offset : 0;
    if (from >= start_limit) continue;

    // The new line is built in one pass: what lies between matches is copied,
    // each match is replaced, and the scan goes on behind it.
    match_scanner scanner(text, pattern);
    byte_string built;
    std::size_t copied = 0;
    std::int64_t count = 0;
    // Offsets on this line follow the replacements made before them.
    struct follower {
      std::int32_t* offset;
      std::size_t original;
      std::int64_t moved = 0;
      bool settled = false;
      std::int32_t result = 0;
    };
    std::vector<follower> followers;
    for (const tracked_offset& t : tracked)
      if (t.line == line && t.offset)
        followers.push_back({t.offset, static_cast<std::size_t>(std::max(*t.offset, 0))});
    try {
      for (std::size_t at = scanner.next(from, start_limit, end_limit); at != npos;
           at = scanner.next(at + pattern.n, start_limit, end_limit)) {
        built.append(text, copied, at - copied);
        built += replacement;
        copied = at + pattern.n;
        ++count;
        for (follower& f : followers) {
          if (f.settled) continue;
          if (f.original <= at) {
            f.result = static_cast<std::int32_t>(static_cast<std::int64_t>(f.original) + f.moved);
            f.settled = true;
          } else if (f.original < copied) {
            // Inside the replaced text: to the end of the replacement.
            f.result = static_cast<std::int32_t>(built.size());
            f.settled = true;
          } else {
            f.moved += delta_per_match;
          }
        }
        // The character before the rest of the line is now the replacement's
        // last one (or, for an empty replacement, what stood before the match).
        bool word_before =
            replacement.empty() ? scanner.word_before(at) : job.replacement_ends_in_word;
        scanner.assume_before(copied, word_before);
      }
      if (count == 0) continue;
      built.append(text, copied, npos);
      // A line that would grow too long for its positions is left as it is.
      if (built.size() > max_line_bytes) continue;
    } catch (const std::bad_alloc&) {
      continue;
    }
    if (cursor_line) {
      document.current->text.swap(built);
      document.current->length = static_cast<std::uint32_t>(document.current->text.size());
    } else if (!document.replace_line(line, std::move(built))) {
      continue;
    }
    total += count;
    adjust_size(document, count * delta_per_match);
    document.state = modified_state;
    for (follower& f : followers)
      *f.offset = f.settled ? f.result
                            : static_cast<std::int32_t>(static_cast<std::int64_t>(f.original) + f.moved);
    if (cursor_line) update_end_column(document, context);
  }
  return total;
}

// The end of every bulk replacement: the cursor back at the remembered line
// and column, the remembered line at the remembered row, one repaint.
void put_cursor_back(text_document& document, edit_context& context, std::int32_t line,
                     std::int32_t column, std::int32_t top) {
  go_to_position(document, context, line, column, top, true);
  context.screen().update_menus();
}

// Replaces every match from `first_offset` of `first_line` to `last_offset` of
// `last_line` (matches may reach past it), then puts the cursor back where it
// stood, at its column and with its view.
std::int64_t replace_out_of_sight(text_document& document, edit_context& context,
                                  const replacement_job& job, std::int32_t first_line,
                                  std::size_t first_offset, std::int32_t last_line,
                                  std::size_t last_offset, std::vector<tracked_offset> tracked) {
  std::int32_t line = document.current_line;
  std::int32_t column = document.column;
  std::int32_t top = document.top_line;
  std::int64_t count = replace_range(document, context, job, first_line, first_offset, last_line,
                                     last_offset, false, std::move(tracked));
  put_cursor_back(document, context, line, column, top);
  return count;
}

}  // namespace

bool replace_at_cursor(text_document& document, edit_context& context, bool repaint) {
  replacement_job job;
  if (!prepare_job(document, context, job)) return false;
  byte_string& line = document.current->text;
  auto at = static_cast<std::size_t>(std::max(document.position, 0));
  if (!matches_at(line, at, job.pattern)) return false;
  try {
    line.replace(at, job.pattern.n, job.replacement);
  } catch (const std::bad_alloc&) {
    return false;
  }
  document.current->length = static_cast<std::uint32_t>(line.size());
  adjust_size(document, static_cast<std::int64_t>(job.replacement.size()) -
                            static_cast<std::int64_t>(job.pattern.n));
  // An anchor behind the replaced text on this line moves with the text.
  if (document.block_state != block_kind::none && document.anchor_line == document.current_line)
    document.anchor_position =
        shifted(document.anchor_position, at, job.pattern.n, job.replacement.size());
  update_end_column(document, context);
  // A double-byte character now standing where the cursor was in the last
  // visible column would hide the cursor: the pane scrolls by one.
  bool scrolled = !is_cursor_visible(document, context);
  if (scrolled) scroll_to_cursor(document, context, is_on_double_byte(document));
  if (repaint) {
    display_requests& screen = context.screen();
    if (scrolled) {
      repaint_with_cursor(document, context);
    } else {
      screen.paint_line(context.pane, document, document.current_line);
      screen.draw_cursor(context.pane, cursor_row(document, context),
                         cell_column(document, context, document.column));
    }
    screen.update_menus();
  }
  return true;
}

std::int64_t replace_all(text_document& document, edit_context& context) {
  replacement_job job;
  if (!prepare_job(document, context, job)) return 0;
  std::vector<tracked_offset> tracked;
  if (document.block_state != block_kind::none) tracked.push_back({document.anchor_line, &document.anchor_position});
  return replace_out_of_sight(document, context, job, 0, 0, document.line_count() - 1, npos,
                              std::move(tracked));
}

std::int64_t replace_forward(text_document& document, edit_context& context) {
  replacement_job job;
  if (document.block_state != block_kind::none || !prepare_job(document, context, job)) return 0;
  // As search_forward: from one byte after the cursor.
  std::size_t from = static_cast<std::size_t>(std::max(document.position, 0)) + 1;
  return replace_out_of_sight(document, context, job, document.current_line, from,
                              document.line_count() - 1, npos, {});
}

std::int64_t replace_backward(text_document& document, edit_context& context) {
  replacement_job job;
  if (document.block_state != block_kind::none || !prepare_job(document, context, job)) return 0;
  // As search_backward: matches start before the cursor and may reach past it.
  std::size_t before = static_cast<std::size_t>(std::max(document.position, 0));
  return replace_out_of_sight(document, context, job, 0, 0, document.current_line, before, {});
}

std::int64_t replace_in_block(text_document& document, edit_context& context) {
  replacement_job job;
  if (document.block_state == block_kind::none || !prepare_job(document, context, job)) return 0;
  std::int32_t line = document.current_line;
  std::int32_t top = document.top_line;
  block_extent block = get_block_extent(document);
  // Both ends of the block follow the replacements, so the block still covers
  // the same text afterwards.
  std::vector<tracked_offset> tracked = {{document.current_line, &document.position},
                                         {document.anchor_line, &document.anchor_position}};
  std::int64_t count;
  if (block.whole_lines)
    count = replace_range(document, context, job, block.first_line, 0, block.last_line - 1, npos,
                          false, tracked);
  else
    count = replace_range(document, context, job, block.first_line,
                          static_cast<std::size_t>(std::max(block.first_offset, 0)),
                          block.last_line,
                          static_cast<std::size_t>(std::max(block.last_offset, 0)), true, tracked);
  std::int32_t column = column_of_position(document, context, document.position);
  put_cursor_back(document, context, line, column, top);
  return count;
}

}  // namespace vintorel
