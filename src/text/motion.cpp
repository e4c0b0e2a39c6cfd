// The cursor motion commands and the general jump.
#include "text/motion.h"

#include <algorithm>

#include "text/block_direction.h"
#include "text/char_class.h"
#include "text/positions.h"

namespace vintorel {

namespace {

unsigned char byte_at_cursor(const text_document& document) {
  const byte_string& text = document.current->text;
  std::size_t at = static_cast<std::size_t>(document.position);
  return at < text.size() ? static_cast<unsigned char>(text[at]) : end_mark;
}

// A line block becomes character-wise; true when that needs a full repaint.
bool block_step_to_characters(text_document& document) {
  block_kind before = document.block_state;
  if (document.block_state == block_kind::lines) document.block_state = block_kind::characters;
  update_block_direction(document);
  return before != document.block_state;
}

// A character block becomes line-wise (character-wise again on the anchor line).
bool block_step_to_lines(text_document& document) {
  block_kind before = document.block_state;
  if (document.block_state != block_kind::none) document.block_state = block_kind::lines;
  update_block_direction(document);
  return before != document.block_state;
}

// Scrolling after a motion to the left within the line.
bool scroll_left_to_cursor(text_document& document) {
  if (document.column >= document.left_column) return false;
  document.left_column = document.column;
  return true;
}

// Scrolling after a motion to the right within the line: a double-byte
// character never starts in the last visible column.
bool scroll_right_to_cursor(text_document& document, const edit_context& context) {
  std::int32_t columns = context.pane.visible_columns();
  bool on_double = is_on_double_byte(document);
  std::int32_t relative = document.column - document.left_column;
  if ((on_double && relative == columns - 1) || relative >= columns) {
    document.left_column = document.column - columns + 1 + (on_double ? 1 : 0);
    return true;
  }
  return false;
}

void finish_in_line(text_document& document, edit_context& context, bool repaint,
                    std::int32_t old_column, bool full_repaint) {
  if (repaint) refresh_after_move(document, context, old_column, full_repaint);
}

// Where the cursor was before a motion to another line.
struct old_cell {
  std::int32_t row;
  std::int32_t column;
};

old_cell cursor_cell(const text_document& document, const edit_context& context) {
  return {cursor_row(document, context), cell_column(document, context, document.column)};
}

void draw_cursor_now(text_document& document, edit_context& context) {
  context.screen().draw_cursor(context.pane, cursor_row(document, context),
                               cell_column(document, context, document.column));
}

// The redraw after a jump to a line that is already on the screen: just the
// line left and the cursor line, unless a block needs the whole pane; when the
// cursor column is out of view, scroll to it.
void refresh_after_line_jump(text_document& document, edit_context& context, old_cell old,
                             bool repaint) {
  display_requests& screen = context.screen();
  if (!is_cursor_visible(document, context)) {
    scroll_to_cursor(document, context, is_on_double_byte(document));
    if (repaint) repaint_with_cursor(document, context);
    return;
  }
  if (!repaint) return;
  if (document.block_state != block_kind::none) {
    repaint_with_cursor(document, context);
    return;
  }
  screen.erase_cursor(context.pane, old.row, old.column);
  screen.paint_line(context.pane, document, document.previous_line);
  screen.paint_line(context.pane, document, document.current_line);
  screen.draw_status_line(context.pane, document);
  draw_cursor_now(document, context);
}

// The redraw after a jump that moved top_line: scroll to the cursor column and
// repaint everything.
void repaint_after_page(text_document& document, edit_context& context, bool repaint) {
  scroll_to_cursor(document, context, is_on_double_byte(document));
  if (repaint) repaint_with_cursor(document, context);
}

// Keeps 0 <= top_line <= max(0, line_count() - visible rows).
void clamp_top_line(text_document& document, const edit_context& context) {
  std::int32_t highest = document.line_count() - context.pane.visible_rows();
  if (document.top_line > highest) document.top_line = highest;
  if (document.top_line < 0) document.top_line = 0;
}

// Commits the cursor line and loads `line` instead. When the load fails there is
// no cursor line; the pane is repainted so that it shows what is there.
bool move_to_line(text_document& document, edit_context& context, std::int32_t line,
                  bool repaint) {
  document.commit_current_line();
  document.current_line = line;
  if (reload_current_line(document, context)) return true;
  if (document.current_line < document.top_line) document.top_line = document.current_line;
  if (document.current_line >= document.top_line + context.pane.visible_rows())
    document.top_line = document.current_line - context.pane.visible_rows() + 1;
  clamp_top_line(document, context);
  if (repaint) context.screen().repaint_pane(context.pane, document);
  return false;
}

}  // namespace

void backward_char(text_document& document, edit_context& context, bool repaint) {
  if (!document.current) return;
  if (document.column != 0 && document.position > 0) {
    std::int32_t old_column = document.column;
    const char* start = document.current->text.c_str();
    if (is_trail_byte(start, start + document.position - 1)) {
      document.position -= 2;
      document.column -= 2;
    } else {
      document.position -= 1;
      // Back onto a TAB the cursor goes to the TAB's own column.
      if (byte_at_cursor(document) == tab_byte)
        document.column = column_of_position(document, context, document.position);
      else
        document.column -= 1;
    }
    document.desired_column = document.column;
    bool full = block_step_to_characters(document);
    bool scrolled = scroll_left_to_cursor(document);
    finish_in_line(document, context, repaint, old_column, full || scrolled);
  } else if (document.column == 0 && document.current_line > 0) {
    document.desired_column = -1;
    backward_line(document, context, repaint, false, true);
  }
}

void forward_char(text_document& document, edit_context& context, bool repaint) {
  if (!document.current) return;
  if (byte_at_cursor(document) == end_mark) return;
  if (document.column >= document.end_column ||
      document.position >= terminator_offset(document)) {
    document.desired_column = 0;
    forward_line(document, context, repaint, false, true);
    return;
  }
  std::int32_t old_column = document.column;
  const byte_string& text = document.current->text;
  std::size_t at = static_cast<std::size_t>(document.position);
  if (character_length(text, at) == 2) {
    document.position += 2;
    document.column += 2;
  } else {
    if (byte_at_cursor(document) == tab_byte)
      document.column += context.tab_size() - document.column % context.tab_size();
    else
      document.column += 1;
    document.position += 1;
  }
  document.desired_column = document.column;
  bool full = block_step_to_characters(document);
  bool scrolled = scroll_right_to_cursor(document, context);
  finish_in_line(document, context, repaint, old_column, full || scrolled);
}

void backward_word(text_document& document, edit_context& context) {
  if (!document.current || document.position == 0) return;
  std::int32_t length = word_length_before(document);
  if (length == 0) return;
  std::int32_t old_column = document.column;
  document.position -= length;
  document.column = document.desired_column =
      column_of_position(document, context, document.position);
  bool full = block_step_to_characters(document);
  bool scrolled = scroll_left_to_cursor(document);
  finish_in_line(document, context, true, old_column, full || scrolled);
}

void forward_word(text_document& document, edit_context& context) {
  if (!document.current) return;
  std::int32_t length = word_length_at(document, document.position);
  if (length == 0) return;
  std::int32_t old_column = document.column;
  document.position += length;
  document.column = document.desired_column =
      column_of_position(document, context, document.position);
  bool full = block_step_to_characters(document);
  bool scrolled = scroll_right_to_cursor(document, context);
  finish_in_line(document, context, true, old_column, full || scrolled);
}

void backward_page(text_document& document, edit_context& context) {
  if (!document.current || document.column == 0) return;
  std::int32_t columns = context.pane.visible_columns();
  std::int32_t old_column = document.column;
  document.column = std::max(0, document.column - columns);
  document.position = position_of_column(document, context, document.column);
  document.column = document.desired_column =
      column_of_position(document, context, document.position);
  bool full = block_step_to_characters(document);
  bool on_double = is_on_double_byte(document);
  if (document.left_column == 0 &&
      !(on_double && document.column - document.left_column == columns - 1)) {
    finish_in_line(document, context, true, old_column, full);
    return;
  }
  document.left_column = std::max(0, document.left_column - columns);
  if (on_double && document.column - document.left_column == columns - 1)
    document.left_column += 1;
  // A character straddling the target column moves the cursor forward past it,
  // which in a narrow pane can be beyond the new view.
  if (!is_cursor_visible(document, context))
    scroll_to_cursor(document, context, is_on_double_byte(document));
  repaint_with_cursor(document, context);
}

void forward_page(text_document& document, edit_context& context) {
  if (!document.current || document.column >= document.end_column) return;
  std::int32_t columns = context.pane.visible_columns();
  std::int32_t old_column = document.column;
  document.column += columns;
  document.position = position_of_column(document, context, document.column);
  document.column = document.desired_column =
      column_of_position(document, context, document.position);
  bool full = block_step_to_characters(document);
  if (is_cursor_visible(document, context)) {
    finish_in_line(document, context, true, old_column, full);
    return;
  }
  document.left_column = std::max(
      0, std::min(document.left_column + columns, document.end_column - columns + 1));
  if (is_on_double_byte(document) && document.column - document.left_column == columns - 1)
    document.left_column += 1;
  // A character straddling the page's edge can leave the cursor one column
  // beyond the new view; it must always end up visible.
  if (!is_cursor_visible(document, context))
    scroll_to_cursor(document, context, is_on_double_byte(document));
  repaint_with_cursor(document, context);
}

void backward_head(text_document& document, edit_context& context, bool repaint) {
  if (!document.current || document.column == 0) return;
  std::int32_t old_column = document.column;
  document.position = document.column = document.desired_column = 0;
  bool full = block_step_to_characters(document);
  bool scrolled = document.left_column != 0;
  document.left_column = 0;
  finish_in_line(document, context, repaint, old_column, full || scrolled);
}

void forward_tail(text_document& document, edit_context& context, bool repaint) {
  if (!document.current || document.column >= document.end_column) return;
  std::int32_t old_column = document.column;
  document.position = terminator_offset(document);
  document.column = document.desired_column = document.end_column;
  bool full = block_step_to_characters(document);
  bool scrolled = false;
  std::int32_t columns = context.pane.visible_columns();
  if (document.column - document.left_column >= columns) {
    document.left_column = document.column - columns + 1;
    scrolled = true;
  }
  finish_in_line(document, context, repaint, old_column, full || scrolled);
}

namespace {

// One line up (step -1) or down (step +1); the two motions mirror each other.
void move_one_line(text_document& document, edit_context& context, bool repaint, bool to_lines,
                   bool to_characters, int step) {
  old_cell old = cursor_cell(document, context);
  display_requests& screen = context.screen();
  document.commit_current_line();
  if (repaint) screen.erase_cursor(context.pane, old.row, old.column);
  document.current_line += step;
  if (!reload_current_line(document, context)) {
    if (document.current_line < document.top_line ||
        document.current_line >= document.top_line + context.pane.visible_rows())
      document.top_line += step;
    clamp_top_line(document, context);
    if (repaint) screen.repaint_pane(context.pane, document);
    return;
  }
  block_kind block_before = document.block_state;
  if (to_lines && document.block_state == block_kind::characters) document.block_state = block_kind::lines;
  if (to_characters && document.block_state == block_kind::lines) document.block_state = block_kind::characters;
  update_block_direction(document);
  bool full = block_before != document.block_state;

  bool past_edge = step < 0 ? document.current_line < document.top_line
                            : document.current_line >= document.top_line + context.pane.visible_rows();
  if (is_cursor_visible(document, context)) {
    if (past_edge) document.top_line += step;
    if (repaint) {
      if (past_edge) {
        // Scrolling back moves the rows down, scrolling forward moves them up;
        // the row that comes into view holds the new cursor line.
        screen.shift_rows(context.pane, step > 0);
        screen.paint_line(context.pane, document, document.current_line);
      }
      if (full) {
        screen.repaint_pane(context.pane, document);
      } else {
        screen.paint_line(context.pane, document, document.current_line - step);
        screen.paint_line(context.pane, document, document.current_line);
        screen.draw_status_line(context.pane, document);
      }
    }
  } else {
    if (past_edge) document.top_line += step;
    scroll_to_cursor(document, context, is_on_double_byte(document));
    if (repaint) screen.repaint_pane(context.pane, document);
  }
  if (repaint) draw_cursor_now(document, context);
}

}  // namespace

void backward_line(text_document& document, edit_context& context, bool repaint, bool to_lines,
                   bool to_characters) {
  if (!document.current || document.current_line <= 0) return;
  move_one_line(document, context, repaint, to_lines, to_characters, -1);
}

void forward_line(text_document& document, edit_context& context, bool repaint, bool to_lines,
                  bool to_characters) {
  if (!document.current || document.current_line >= document.line_count() - 1) return;
  move_one_line(document, context, repaint, to_lines, to_characters, +1);
}

void backward_line_screen(text_document& document, edit_context& context) {
  if (!document.current || document.current_line == 0) return;
  old_cell old = cursor_cell(document, context);
  if (!move_to_line(document, context, document.top_line, true)) return;
  block_step_to_lines(document);
  refresh_after_line_jump(document, context, old, true);
}

void forward_line_screen(text_document& document, edit_context& context) {
  if (!document.current || document.current_line >= document.line_count() - 1) return;
  old_cell old = cursor_cell(document, context);
  std::int32_t line = std::min(document.top_line + context.pane.visible_rows() - 1,
                               document.line_count() - 1);
  if (!move_to_line(document, context, line, true)) return;
  block_step_to_lines(document);
  refresh_after_line_jump(document, context, old, true);
}

void backward_line_page(text_document& document, edit_context& context) {
  if (!document.current || document.current_line == 0) return;
  old_cell old = cursor_cell(document, context);
  std::int32_t page = context.pane.visible_rows() - 1;
  if (!move_to_line(document, context, std::max(0, document.current_line - page), true)) return;
  block_step_to_lines(document);
  if (document.top_line == 0 && is_cursor_visible(document, context)) {
    refresh_after_line_jump(document, context, old, true);
    return;
  }
  document.top_line = std::max(0, document.top_line - page);
  repaint_after_page(document, context, true);
}

void forward_line_page(text_document& document, edit_context& context) {
  std::int32_t count = document.line_count();
  if (!document.current || document.current_line >= count - 1) return;
  old_cell old = cursor_cell(document, context);
  std::int32_t rows = context.pane.visible_rows();
  std::int32_t page = rows - 1;
  if (!move_to_line(document, context, std::min(document.current_line + page, count - 1), true))
    return;
  block_step_to_lines(document);
  if (count > rows && document.top_line != count - rows) {
    document.top_line = std::min(document.top_line + page, count - rows);
    repaint_after_page(document, context, true);
  } else {
    refresh_after_line_jump(document, context, old, true);
  }
}

void backward_line_head(text_document& document, edit_context& context, bool repaint) {
  if (!document.current || document.current_line == 0) return;
  old_cell old = cursor_cell(document, context);
  // The cursor keeps aiming at desired_column; it does not go to column 0.
  if (!move_to_line(document, context, 0, repaint)) return;
  block_step_to_lines(document);
  if (document.top_line == 0 && is_cursor_visible(document, context)) {
    refresh_after_line_jump(document, context, old, repaint);
    return;
  }
  document.top_line = 0;
  repaint_after_page(document, context, repaint);
}

void forward_line_tail(text_document& document, edit_context& context, bool repaint) {
  std::int32_t count = document.line_count();
  if (!document.current || document.current_line >= count - 1) return;
  old_cell old = cursor_cell(document, context);
  std::int32_t rows = context.pane.visible_rows();
  if (!move_to_line(document, context, count - 1, repaint)) return;
  block_step_to_lines(document);
  if (count > rows && document.top_line != count - rows) {
    document.top_line = count - rows;
    repaint_after_page(document, context, repaint);
  } else {
    refresh_after_line_jump(document, context, old, repaint);
  }
}

void next_tab_stop(text_document& document, edit_context& context) {
  if (!document.current || byte_at_cursor(document) == end_mark) return;
  if (document.column >= document.end_column ||
      document.position >= terminator_offset(document)) {
    document.desired_column = 0;
    forward_line(document, context, true, false, true);
    return;
  }
  std::int32_t old_column = document.column;
  int tab = context.tab_size();
  document.column = (document.column / tab + 1) * tab;
  document.position = position_of_column(document, context, document.column);
  document.column = document.desired_column =
      column_of_position(document, context, document.position);
  bool full = block_step_to_characters(document);
  bool scrolled = scroll_right_to_cursor(document, context);
  finish_in_line(document, context, true, old_column, full || scrolled);
}

void go_to_position(text_document& document, edit_context& context, std::int32_t line,
                    std::int32_t desired, std::int32_t top, bool repaint) {
  document.commit_current_line();
  std::int32_t count = document.line_count();
  if (line >= count) line = count - 1;
  if (line < 0) line = 0;
  document.current_line = line;
  document.desired_column = desired;
  if (!reload_current_line(document, context)) return;
  std::int32_t rows = context.pane.visible_rows();
  document.top_line = top == -1 ? document.current_line - rows / 2 : top;
  clamp_top_line(document, context);
  // A remembered top_line that no longer shows the line (the text changed in
  // between) would leave the cursor outside the pane: centre it instead.
  if (document.current_line < document.top_line ||
      document.current_line >= document.top_line + rows) {
    document.top_line = document.current_line - rows / 2;
    clamp_top_line(document, context);
  }
  scroll_to_cursor(document, context, is_on_double_byte(document));
  update_block_direction(document);
  if (repaint) repaint_with_cursor(document, context);
}

void jump(text_document& document, edit_context& context, std::int32_t chosen_line) {
  if (!document.current) return;
  go_to_position(document, context, chosen_line, document.column, -1, true);
}

void mark(text_document& document) {
  document.mark_line = document.current_line;
  document.mark_column = document.column;
}

void jump_mark(text_document& document, edit_context& context) {
  if (!document.current) return;
  go_to_position(document, context, document.mark_line, document.mark_column, -1, true);
}

void jump_previousline(text_document& document, edit_context& context) {
  if (!document.current) return;
  go_to_position(document, context, document.previous_line, document.column, -1, true);
}

}  // namespace vintorel
