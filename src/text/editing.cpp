// The editing commands and the line split and join under them.
#include "text/editing.h"

#include <algorithm>
#include <new>

#include "text/char_class.h"
#include "text/deleted_chars.h"
#include "text/motion.h"
#include "text/positions.h"

namespace vintorel {

namespace {

unsigned char byte_at(const byte_string& text, std::int32_t offset) {
  return offset >= 0 && static_cast<std::size_t>(offset) < text.size()
             ? static_cast<unsigned char>(text[static_cast<std::size_t>(offset)])
             : end_mark;
}

void draw_cursor_now(text_document& document, edit_context& context) {
  context.screen().draw_cursor(context.pane, cursor_row(document, context),
                               cell_column(document, context, document.column));
}

// Paint the cursor line and the status line, then the cursor.
void refresh_cursor_line(text_document& document, edit_context& context) {
  display_requests& screen = context.screen();
  screen.paint_line(context.pane, document, document.current_line);
  screen.draw_status_line(context.pane, document);
  draw_cursor_now(document, context);
}

void sync_length(text_document& document) {
  document.current->length = static_cast<std::uint32_t>(document.current->text.size());
}

// `size` -1 means the size is unknown; it stays so.
void adjust_size(text_document& document, std::int64_t delta) {
  if (document.size >= 0) document.size += delta;
}

const byte_string full_width_space = "\x81\x40";

}  // namespace

bool can_edit(const text_document& document) {
  return document.block_state == block_kind::none && document.current && document.state != read_only_state &&
         document.current->text.size() <= max_line_bytes;
}

void insert_string(text_document& document, edit_context& context, const byte_string& text,
                   bool repaint, bool advance, bool force_insert) {
  if (!can_edit(document) || text.empty()) return;
  byte_string& line = document.current->text;
  // Never edited into a line too long for its positions.
  if (line.size() + text.size() > max_line_bytes) return;
  std::int32_t old_column = document.column;
  std::int32_t end = terminator_offset(document);
  std::int32_t at = std::clamp(document.position, 0, end);
  std::int32_t n = static_cast<std::int32_t>(text.size());
  std::int32_t grown = n;
  try {
    if (force_insert || !context.overwrite_mode || document.column == document.end_column ||
        at >= end) {
      line.insert(static_cast<std::size_t>(at), text);
    } else {
      // Overwriting never reaches the terminator: what runs past the line's
      // last character is inserted in front of the terminator.
      std::int32_t replaced = std::min(n, end - at);
      std::size_t behind = static_cast<std::size_t>(at + replaced);
      // No half of a double-byte character may remain behind the new text.
      if (is_trail_byte(line.c_str(), line.c_str() + behind)) line[behind] = ' ';
      line.replace(static_cast<std::size_t>(at), static_cast<std::size_t>(replaced), text);
      grown = n - replaced;
    }
  } catch (const std::bad_alloc&) {
    return;
  }
  sync_length(document);
  adjust_size(document, grown);
  document.position = at + (advance ? n : 0);
  // A lone lead byte in front of the cursor pairs with the byte put behind it
  // (or inserted text ending in one with the byte after it): the cursor must not
  // be left on the second byte of that character.
  bool merged = is_trail_byte(line.c_str(), line.c_str() + document.position);
  if (merged) document.position += advance ? 1 : -1;
  if (advance || merged)
    document.column = document.desired_column =
        column_of_position(document, context, document.position);
  update_end_column(document, context);
  if (is_cursor_visible(document, context)) {
    if (repaint) {
      context.screen().erase_cursor(context.pane, cursor_row(document, context),
                                    cell_column(document, context, old_column));
      refresh_cursor_line(document, context);
    }
  } else {
    scroll_to_cursor(document, context, is_on_double_byte(document));
    if (repaint) repaint_with_cursor(document, context);
  }
  if (repaint) context.screen().update_menus();
}

void insert_tab(text_document& document, edit_context& context) {
  if (context.overwrite_mode)
    next_tab_stop(document, context);
  else
    insert_string(document, context, "\t", true, true, false);
}

void insert_space(text_document& document, edit_context& context) {
  insert_string(document, context, " ", true, true, false);
}

bool split_line(text_document& document, edit_context& context) {
  if (!document.current) return false;
  byte_string& line = document.current->text;
  std::int32_t at = std::clamp(document.position, 0, terminator_offset(document));
  try {
    // The rest of the line, its old terminator included, becomes a new line.
    if (!document.insert_line(document.current_line + 1, line.substr(static_cast<std::size_t>(at))))
      return false;
  } catch (const std::bad_alloc&) {
    return false;
  }
  try {
    line.resize(static_cast<std::size_t>(at));
    line += "\r\n";
  } catch (const std::bad_alloc&) {
    document.remove_line(document.current_line + 1);
    return false;
  }
  sync_length(document);
  adjust_size(document, 2);
  document.state = modified_state;
  // The reload goes by desired_column; it must land on the split point, the
  // new terminator, whatever earlier motions left there.
  if (document.desired_column != -1 && document.desired_column < document.column)
    document.desired_column = document.column;
  document.commit_current_line();
  reload_current_line(document, context);
  return true;
}

bool join_line(text_document& document, edit_context& context) {
  if (!document.current) return false;
  byte_string next;
  if (!document.fetch_line(document.current_line + 1, next)) return false;
  byte_string& line = document.current->text;
  std::size_t cut = std::min(static_cast<std::size_t>(std::max(document.position, 0)), line.size());
  // Normally the CR LF; a line read with another line end loses just that.
  std::size_t dropped = line.size() - cut;
  if (cut + next.size() > max_line_bytes) return false;
  try {
    byte_string joined;
    joined.reserve(cut + next.size());
    joined.append(line, 0, cut);
    joined += next;
    line.swap(joined);
  } catch (const std::bad_alloc&) {
    return false;
  }
  sync_length(document);
  adjust_size(document, -static_cast<std::int64_t>(dropped));
  document.state = modified_state;
  document.remove_line(document.current_line + 1);
  document.commit_current_line();
  reload_current_line(document, context);
  return true;
}

void insert_linefeed(text_document& document, edit_context& context, bool repaint,
                     bool move_to_next, bool force_insert, bool auto_indent) {
  if (!can_edit(document)) return;
  bool indent = auto_indent && context.pane.auto_indent;
  const byte_string* unit = nullptr;
  int indent_count = 0;
  if (indent) {
    const byte_string& line = document.current->text;
    static const byte_string tab(1, '\t');
    unit = line.compare(0, 2, full_width_space) == 0 ? &full_width_space : &tab;
    std::size_t at = 0;
    while (line.compare(at, unit->size(), *unit) == 0) {
      at += unit->size();
      ++indent_count;
    }
  }

  if (context.overwrite_mode && !force_insert &&
      document.current_line != document.line_count() - 1) {
    // Overwrite mode changes no text here: the cursor goes to the start of the
    // next line, past its indent.
    forward_tail(document, context, repaint);
    forward_char(document, context, repaint);
    if (context.pane.auto_indent) {
      for (int i = 0; i < indent_count && document.current; ++i) {
        unsigned char c = byte_at(document.current->text, document.position);
        if (c == cr_byte || c == end_mark) break;
        forward_char(document, context, repaint);
      }
    }
    return;
  }

  if (!split_line(document, context)) return;
  bool moved = false;
  if (move_to_next) {
    std::int32_t line_before = document.current_line;
    forward_char(document, context, false);
    moved = document.current_line != line_before;
  }
  // The indent belongs on the new line, so it is added only when the cursor
  // went there, and not when the line already starts with the indent unit.
  if (indent && moved && indent_count > 0 && document.current &&
      document.current->text.compare(0, unit->size(), *unit) != 0) {
    for (int i = 0; i < indent_count; ++i) insert_string(document, context, *unit, false, true, true);
  }
  if (repaint) {
    repaint_with_cursor(document, context);
    context.screen().update_menus();
  }
}

void insert_line(text_document& document, edit_context& context, bool repaint) {
  if (!can_edit(document)) return;
  backward_head(document, context, repaint);
  insert_linefeed(document, context, repaint, false, true, false);
}

void delete_char(text_document& document, edit_context& context, bool repaint, bool record,
                 bool from_backspace) {
  if (!can_edit(document)) return;
  byte_string& line = document.current->text;
  if (byte_at(line, document.position) == end_mark) return;
  display_requests& screen = context.screen();
  std::int32_t columns = context.pane.visible_columns();

  if (document.column != document.end_column && document.position < terminator_offset(document)) {
    std::size_t at = static_cast<std::size_t>(document.position);
    std::size_t length = character_length(line, at);
    if (record && context.deleted)
      record_deletion(*context.deleted, from_backspace, static_cast<unsigned char>(line[at]),
                      length == 2 ? static_cast<unsigned char>(line[at + 1]) : 0);
    line.erase(at, length);
    sync_length(document);
    adjust_size(document, -static_cast<std::int64_t>(length));
    update_end_column(document, context);

    bool at_last_column = document.column - document.left_column == columns - 1;
    bool scrolled = false;
    if (!at_last_column && document.left_column != 0 &&
        document.end_column - document.left_column < columns) {
      // The line's end came into view: show as much of the line as fits.
      document.left_column = std::max(0, document.end_column - columns + 1);
      scrolled = true;
    } else if (at_last_column && is_on_double_byte(document)) {
      document.left_column += 1;
      scrolled = true;
    }
    if (repaint) {
      if (scrolled)
        repaint_with_cursor(document, context);
      else
        refresh_cursor_line(document, context);
    }
  } else {
    // At the terminator: the next line is joined. The cursor stays at the join
    // point rather than wherever an earlier vertical motion was aiming.
    document.desired_column = document.column;
    if (!join_line(document, context)) return;
    if (record && context.deleted) record_deletion(*context.deleted, from_backspace, cr_byte, lf_byte);
    std::int32_t count = document.line_count();
    std::int32_t rows = context.pane.visible_rows();
    if (count >= rows) {
      if (document.top_line > count - rows) document.top_line -= 1;
    } else if (repaint) {
      screen.clear_row(context.pane, context.pane.first_row + count - document.top_line);
    }
    // A double-byte character joined on at the last visible column would hide
    // the cursor.
    if (!is_cursor_visible(document, context))
      scroll_to_cursor(document, context, is_on_double_byte(document));
    if (repaint) repaint_with_cursor(document, context);
  }
  screen.update_menus();
}

void delete_word(text_document& document, edit_context& context) {
  if (!can_edit(document)) return;
  std::int32_t length = word_length_at(document, document.position);
  std::int32_t gone = 0;
  while (gone < length && document.current) {
    std::int32_t before = static_cast<std::int32_t>(document.current->text.size());
    delete_char(document, context, false, true, false);
    std::int32_t after = static_cast<std::int32_t>(document.current->text.size());
    if (after >= before) break;
    gone += before - after;
  }
  repaint_with_cursor(document, context);
}

void delete_tail(text_document& document, edit_context& context, bool repaint, bool record) {
  if (!can_edit(document)) return;
  while (document.current && document.column != document.end_column &&
         document.position < terminator_offset(document)) {
    std::size_t before = document.current->text.size();
    delete_char(document, context, false, record, false);
    if (document.current->text.size() >= before) break;
  }
  if (repaint) repaint_with_cursor(document, context);
}

void backspace_char(text_document& document, edit_context& context, bool repaint, bool record) {
  if (!can_edit(document)) return;
  if (document.current_line == 0 && document.position == 0) return;
  std::int32_t line = document.current_line;
  std::int32_t position = document.position;
  backward_char(document, context, repaint);
  // Only a cursor that really moved back has a character to delete.
  if (document.current_line == line && document.position == position) return;
  delete_char(document, context, repaint, record, true);
}

void backspace_word(text_document& document, edit_context& context) {
  if (!can_edit(document)) return;
  std::int32_t length = word_length_before(document);
  std::int32_t gone = 0;
  while (gone < length && document.current && document.position > 0) {
    std::int32_t before = document.position;
    backspace_char(document, context, false, true);
    if (!document.current || document.position >= before) break;
    gone += before - document.position;
  }
  repaint_with_cursor(document, context);
}

void backspace_head(text_document& document, edit_context& context, bool repaint, bool record) {
  if (!can_edit(document)) return;
  while (document.current && document.position != 0) {
    std::int32_t before = document.position;
    backspace_char(document, context, false, record);
    if (!document.current || document.position >= before) break;
  }
  if (repaint) repaint_with_cursor(document, context);
}

void change_word_case(text_document& document, edit_context& context) {
  // A read-only text is never changed: its state must stay read-only.
  if (!document.current || document.state == read_only_state) return;
  byte_string& line = document.current->text;
  auto is_letter = [](unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  std::size_t at = static_cast<std::size_t>(std::max(document.position, 0));
  if (at >= line.size() || !is_letter(static_cast<unsigned char>(line[at]))) return;
  bool to_lower = line[at] >= 'A' && line[at] <= 'Z';
  for (; at < line.size() && is_letter(static_cast<unsigned char>(line[at])); ++at) {
    char c = line[at];
    if (to_lower && c >= 'A' && c <= 'Z') line[at] = static_cast<char>(c - 'A' + 'a');
    if (!to_lower && c >= 'a' && c <= 'z') line[at] = static_cast<char>(c - 'a' + 'A');
  }
  refresh_cursor_line(document, context);
  context.screen().update_menus();
}

}  // namespace vintorel
