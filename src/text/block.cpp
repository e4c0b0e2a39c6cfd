// Block selection on and off, its extent, and deleting a block or a line.
#include "text/block.h"

#include <algorithm>
#include <new>

#include "text/char_class.h"
#include "text/cursor_place.h"
#include "text/editing.h"
#include "text/motion.h"
#include "text/positions.h"

namespace vintorel {

namespace {

// `size` -1 means the size is unknown; it stays so.
void adjust_size(text_document& document, std::int64_t delta) {
  if (document.size >= 0) document.size += delta;
}

// Offset of the terminator of a line in the internal form.
std::size_t terminator_of(const byte_string& text) {
  std::size_t n = text.size();
  if (n == 0) return 0;
  if (n >= 2 && static_cast<unsigned char>(text[n - 2]) == cr_byte) return n - 2;
  return n - 1;
}

std::size_t held_to_terminator(const byte_string& text, std::int32_t offset) {
  return std::min(static_cast<std::size_t>(std::max(offset, 0)), terminator_of(text));
}

// After lines went away: the cursor line inside the pane and top_line inside
// its range, the cursor column in view.
void keep_cursor_in_view(text_document& document, const edit_context& context) {
  std::int32_t rows = context.pane.visible_rows();
  if (document.current_line < document.top_line) document.top_line = document.current_line;
  if (document.current_line >= document.top_line + rows)
    document.top_line = document.current_line - rows + 1;
  std::int32_t highest = std::max(0, document.line_count() - rows);
  document.top_line = std::clamp(document.top_line, 0, highest);
  if (document.current && !is_cursor_visible(document, context))
    scroll_to_cursor(document, context, is_on_double_byte(document));
}

enum class removal { failed, nothing, done };

// Removes the block's text from the line index; the cursor line is committed.
// Fails when a line cannot be read or memory runs out; nothing is changed then.
removal remove_block_text(text_document& document, const block_extent& block) {
  std::int32_t count = document.line_count();
  if (block.whole_lines) {
    std::int64_t removed = 0;
    byte_string line;
    for (std::int32_t i = block.first_line; i < block.last_line; ++i) {
      if (!document.fetch_line(i, line)) return removal::failed;
      removed += static_cast<std::int64_t>(line.size());
    }
    document.remove_lines(block.first_line, block.last_line - block.first_line);
    adjust_size(document, -removed);
    return removal::done;
  }
  if (block.last_line >= count) return removal::failed;
  byte_string first, last;
  if (!document.fetch_line(block.first_line, first) || !document.fetch_line(block.last_line, last))
    return removal::failed;
  std::size_t from = held_to_terminator(first, block.first_offset);
  std::size_t to = held_to_terminator(last, block.last_offset);
  std::int64_t removed = 0;
  byte_string joined;
  try {
    if (block.first_line == block.last_line) {
      if (to <= from) return removal::nothing;
      joined = first;
      joined.erase(from, to - from);
      removed = static_cast<std::int64_t>(to - from);
    } else {
      byte_string middle;
      for (std::int32_t i = block.first_line + 1; i < block.last_line; ++i) {
        if (!document.fetch_line(i, middle)) return removal::failed;
        removed += static_cast<std::int64_t>(middle.size());
      }
      removed += static_cast<std::int64_t>(first.size() - from + to);
      joined.reserve(from + last.size() - to);
      joined.append(first, 0, from);
      joined.append(last, to, byte_string::npos);
    }
  } catch (const std::bad_alloc&) {
    return removal::failed;
  }
  if (!document.replace_line(block.first_line, std::move(joined))) return removal::failed;
  document.remove_lines(block.first_line + 1, block.last_line - block.first_line);
  adjust_size(document, -removed);
  return removal::done;
}

}  // namespace

block_extent get_block_extent(const text_document& document) {
  block_extent block;
  if (document.block_state == block_kind::lines) {
    block.whole_lines = true;
    block.first_line = std::min(document.anchor_line, document.current_line);
    block.last_line = std::max(document.anchor_line, document.current_line);
    return block;
  }
  bool cursor_first = document.current_line < document.anchor_line ||
                      (document.current_line == document.anchor_line &&
                       document.position < document.anchor_position);
  block.first_line = cursor_first ? document.current_line : document.anchor_line;
  block.first_offset = cursor_first ? document.position : document.anchor_position;
  block.last_line = cursor_first ? document.anchor_line : document.current_line;
  block.last_offset = cursor_first ? document.anchor_position : document.position;
  return block;
}

void toggle_block(text_document& document, edit_context& context) {
  if (document.block_state == block_kind::none) {
    if (!document.current) return;
    document.anchor_line = document.current_line;
    document.anchor_position = document.position;
    document.block_state = block_kind::characters;
    document.block_backward = false;
    return;
  }
  document.block_state = block_kind::none;
  repaint_with_cursor(document, context);
}

void delete_line(text_document& document, edit_context& context, bool repaint) {
  if (!can_edit(document)) return;
  const byte_string& text = document.current->text;
  if (text.empty() || static_cast<unsigned char>(text[0]) == end_mark) return;
  if (static_cast<unsigned char>(text.back()) == end_mark) {
    // The last line is emptied in front of its mark: what backspacing from its
    // end to its start does, in one step.
    forward_tail(document, context, repaint);
    std::int32_t gone = document.position;
    document.current->text.erase(0, static_cast<std::size_t>(gone));
    document.current->length = static_cast<std::uint32_t>(document.current->text.size());
    adjust_size(document, -gone);
    document.position = document.column = document.desired_column = 0;
    document.left_column = 0;
    update_end_column(document, context);
    if (repaint) repaint_with_cursor(document, context);
  } else {
    backward_head(document, context, repaint);
    // Everything up to the terminator goes at once (delete_tail without
    // recording), then the line end, which joins the next line.
    std::int32_t gone = terminator_offset(document);
    document.current->text.erase(0, static_cast<std::size_t>(gone));
    document.current->length = static_cast<std::uint32_t>(document.current->text.size());
    adjust_size(document, -gone);
    update_end_column(document, context);
    delete_char(document, context, repaint, false, false);
  }
  context.screen().update_menus();
}

void delete_block(text_document& document, edit_context& context) {
  if (!document.current || document.state == read_only_state || document.block_state == block_kind::none) return;
  block_extent block = get_block_extent(document);
  std::int32_t last = document.line_count() - 1;
  block.first_line = std::clamp(block.first_line, 0, last);
  block.last_line = std::clamp(block.last_line, block.first_line, last);
  document.block_state = block_kind::none;
  std::int32_t offset = document.position;
  std::int32_t desired = document.desired_column;
  // The buffer goes back to the index first: the removal works on stored lines.
  document.commit_current_line();
  removal result = remove_block_text(document, block);
  if (result == removal::done) {
    document.state = modified_state;
    place_cursor_at(document, context, block.first_line, block.first_offset);
  } else if (place_cursor_at(document, context, document.current_line, offset)) {
    document.desired_column = desired;
  }
  keep_cursor_in_view(document, context);
  repaint_with_cursor(document, context);
  context.screen().update_menus();
}

}  // namespace vintorel
