// The status line of a pane (code under the cursor, position, size, character
// set, line end, state and name) and the bottom line of the window (mode and
// function-key labels): their texts as plain functions, and their drawing.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "display/display_context.h"
#include "platform/byte_string.h"
#include "platform/charsets.h"
#include "text/display_requests.h"

namespace vintorel {

struct text_document;

// The values the status line shows, before formatting.
struct status_fields {
  unsigned code = 0;             // character code at the cursor, already converted
  std::int64_t line = 1;         // current_line + 1
  std::int64_t column = 1;       // column + 1
  int percent = 0;               // (line) × 100 / line count, 100 shown as 99
  std::int64_t size = 0;
  charset save_charset = shift_jis;
  linefeed_kind save_linefeed = crlf;
  char state = ' ';              // 'R', '*' or blank
  byte_string name;              // already shortened to at most 37 bytes
};

// The name of the console text, whose status line has its own colour.
constexpr std::string_view console_text_name = "console/scratch";

// Code of the character at `position` as the status line shows it for a text
// saved in `charset` with `linefeed`: the line end by its line-end kind, a
// double-byte character converted (JIS, EUC, UTF-16), any other byte as is.
unsigned status_character_code(const byte_string& line, std::int32_t position, charset save_charset,
                               linefeed_kind linefeed);
// The name shown: whole when at most 37 bytes, else the part after the last
// "/" or "\", in both cases cut to 37 bytes.
byte_string status_name(const byte_string& name);
status_fields status_fields_of(text_document& document);

// "%s %4s:%-3s %2d%% %11s %4s/%-4s  %c %-.37s"
std::string status_line_text(const status_fields& f);
// The two rows of the side-by-side form.
std::string status_position_text(const status_fields& f);
std::string status_name_text(const status_fields& f);
// Mode and labels: "%s %s".
std::string bottom_line_text(const bottom_line_state& state, bool shift_held);

// At most `limit` bytes of `text` (up to a NUL), never ending inside a
// double-byte character.
std::string cut_to_bytes(std::string_view text, std::size_t limit);
// `text` made exactly `width` cells wide: padded with blanks, or cut (never
// inside a double-byte character) when longer, so it never wraps into a row
// that is not its own.
std::string fit_to_width(std::string_view text, int width);

// The status line of `pane` for `document`.
void draw_status_line(display_context& display, const pane_view& pane, text_document& document);
// The bottom line across the window.
void draw_bottom_line(display_context& display, bool shift_held);

}  // namespace vintorel
