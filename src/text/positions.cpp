// Conversions between byte offsets and display columns in the current-line
// buffer, word lengths, horizontal scrolling and the redraw after a motion.
#include "text/positions.h"

#include <algorithm>

#include "text/char_class.h"

namespace vintorel {

namespace {

unsigned char byte_at(const byte_string& text, std::size_t offset) {
  return offset < text.size() ? static_cast<unsigned char>(text[offset]) : 0;
}

// Columns the character at `offset` covers when it starts at `column`.
std::int32_t width_at(const byte_string& text, std::size_t offset, std::int32_t column,
                      int tab) {
  std::size_t bytes = character_length(text, offset);
  if (bytes == 2) return 2;
  if (byte_at(text, offset) == tab_byte) return tab - column % tab;
  return 1;
}

// Where a walk along the current-line buffer stopped.
struct line_point {
  std::size_t offset = 0;
  std::int32_t column = 0;
};

// Steps through the current-line buffer a character at a time from its start
// while `more(offset, column)` holds. Every walk stops at the CR, at the end
// mark and at the end of the bytes (a line read from a file with mixed line
// ends may have no CR LF).
template <typename More>
line_point walk_line(const text_document& document, const edit_context& context, More more) {
  line_point at;
  if (!document.current) return at;
  const byte_string& text = document.current->text;
  if (text.empty() || byte_at(text, 0) == end_mark) return at;
  int tab = context.tab_size();
  while (at.offset < text.size() && byte_at(text, at.offset) != cr_byte &&
         more(at.offset, at.column)) {
    at.column += width_at(text, at.offset, at.column, tab);
    at.offset += character_length(text, at.offset);
    if (byte_at(text, at.offset) == end_mark) break;
  }
  return at;
}

}  // namespace

std::int32_t column_of_position(const text_document& document, const edit_context& context,
                                std::int32_t p) {
  auto before = [p](std::size_t offset, std::int32_t) {
    return static_cast<std::int64_t>(offset) < p;
  };
  return walk_line(document, context, before).column;
}

std::int32_t position_of_column(const text_document& document, const edit_context& context,
                                std::int32_t col) {
  auto short_of = [col](std::size_t, std::int32_t column) { return column < col; };
  std::size_t offset = walk_line(document, context, short_of).offset;
  // Never beyond the terminator, even on a line that lacks one.
  return std::min(static_cast<std::int32_t>(offset), terminator_offset(document));
}

std::int32_t terminator_offset(const text_document& document) {
  if (!document.current) return 0;
  const byte_string& text = document.current->text;
  std::size_t n = text.size();
  if (n == 0) return 0;
  if (n >= 2 && byte_at(text, n - 2) == cr_byte) return static_cast<std::int32_t>(n - 2);
  return static_cast<std::int32_t>(n - 1);
}

std::int32_t update_end_column(text_document& document, const edit_context& context) {
  if (!document.current) return 0;
  document.end_column = column_of_position(document, context, terminator_offset(document));
  return document.end_column;
}

bool is_on_double_byte(const text_document& document) {
  if (!document.current || document.position < 0) return false;
  return character_length(document.current->text, static_cast<std::size_t>(document.position)) ==
         2;
}

std::int32_t word_length_at(const text_document& document, std::int32_t p) {
  if (!document.current || p < 0) return 0;
  const byte_string& text = document.current->text;
  std::size_t offset = static_cast<std::size_t>(p);
  auto is_end = [&](std::size_t at) {
    unsigned char c = byte_at(text, at);
    return at >= text.size() || c == cr_byte || c == end_mark;
  };
  if (is_end(offset)) return 0;
  int word_class = character_class_at(text, offset);
  std::size_t at = offset + character_length(text, offset);
  while (!is_end(at) && character_class_at(text, at) == word_class)
    at += character_length(text, at);
  return static_cast<std::int32_t>(at - offset);
}

std::int32_t word_length_before(const text_document& document) {
  if (!document.current || document.position <= 0) return 0;
  const byte_string& text = document.current->text;
  std::int32_t end = std::min(document.position, static_cast<std::int32_t>(text.size()));
  const char* start = text.c_str();
  // Steps back over the character before `at`; its start.
  auto step_back = [&](std::int32_t at) {
    return is_trail_byte(start, start + at - 1) ? at - 2 : at - 1;
  };
  std::int32_t at = step_back(end);
  if (at < 0) return 0;
  int word_class = character_class(start + at);
  while (at > 0) {
    std::int32_t before = step_back(at);
    if (before < 0 || character_class(start + before) != word_class) break;
    at = before;
  }
  return end - at;
}

void scroll_to_cursor(text_document& document, const edit_context& context, bool on_double_byte) {
  std::int32_t columns = context.pane.visible_columns();
  document.left_column = std::max(0, document.column - columns + 1);
  if (on_double_byte && document.column - document.left_column == columns - 1)
    document.left_column += 1;
}

bool is_cursor_visible(const text_document& document, const edit_context& context) {
  std::int32_t columns = context.pane.visible_columns();
  std::int32_t relative = document.column - document.left_column;
  if (relative < 0 || relative >= columns) return false;
  return !(relative == columns - 1 && is_on_double_byte(document));
}

std::int32_t cursor_row(const text_document& document, const edit_context& context) {
  return context.pane.first_row + document.current_line - document.top_line;
}

std::int32_t cell_column(const text_document& document, const edit_context& context,
                         std::int32_t column) {
  return context.pane.first_column + column - document.left_column;
}

void refresh_after_move(text_document& document, edit_context& context, std::int32_t old_column,
                        bool full_repaint) {
  display_requests& screen = context.screen();
  if (full_repaint) {
    screen.repaint_pane(context.pane, document);
  } else {
    screen.erase_cursor(context.pane, cursor_row(document, context),
                        cell_column(document, context, old_column));
    screen.paint_line(context.pane, document, document.current_line);
    screen.draw_status_line(context.pane, document);
  }
  screen.draw_cursor(context.pane, cursor_row(document, context),
                     cell_column(document, context, document.column));
}

void repaint_with_cursor(text_document& document, edit_context& context) {
  display_requests& screen = context.screen();
  screen.repaint_pane(context.pane, document);
  if (document.current)
    screen.draw_cursor(context.pane, cursor_row(document, context),
                       cell_column(document, context, document.column));
}

bool reload_current_line(text_document& document, const edit_context& context) {
  if (!document.load_current_line(context.tab_size())) return false;
  // Keep the cursor on a character start no further than the terminator, and
  // the columns in step with this file's character rules.
  std::int32_t end = terminator_offset(document);
  if (document.position > end || document.position < 0) document.position = end;
  document.column = column_of_position(document, context, document.position);
  update_end_column(document, context);
  return true;
}

}  // namespace vintorel
