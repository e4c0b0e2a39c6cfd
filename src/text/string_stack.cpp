// Pushing blocks and lines onto the string stack, and popping entries into the
// text.
#include "text/string_stack.h"

#include <algorithm>
#include <new>
#include <string_view>

#include "text/block.h"
#include "text/char_class.h"
#include "text/cursor_place.h"
#include "text/editing.h"
#include "text/motion.h"
#include "text/positions.h"

namespace vintorel {

namespace {

constexpr int confirm_caption = 3;  // "確認"
constexpr int stack_full_text = 28;  // "バッファが一杯です. バッファをクリアして処理を続行しますか?"

std::size_t held_to(std::int32_t offset, std::size_t limit) {
  return std::min(static_cast<std::size_t>(std::max(offset, 0)), limit);
}

// Offset of the terminator of a line in the internal form.
std::size_t terminator_of(const byte_string& text) {
  std::size_t n = text.size();
  if (n >= 2 && static_cast<unsigned char>(text[n - 2]) == cr_byte) return n - 2;
  return n == 0 ? 0 : n - 1;
}

// The entry goes onto the stack and, without its type byte, to the clipboard
// (a clipboard that cannot be opened is passed over).
bool push_entry(edit_context& context, byte_string entry) {
  try {
    context.user().set_clipboard_text(entry.substr(1));
    context.stack->entries.push_back(std::move(entry));
  } catch (const std::bad_alloc&) {
    return false;
  }
  context.screen().update_menus();
  return true;
}

}  // namespace

string_stack::string_stack(int limit_setting)
    : limit(static_cast<std::size_t>(std::max(limit_setting, 4))) {}

bool push_block(text_document& document, edit_context& context) {
  if (!document.current || !context.stack) return false;
  if (!commit_and_reload(document, context)) return false;
  block_extent block = get_block_extent(document);
  byte_string entry;
  byte_string line;
  try {
    if (block.whole_lines) {
      entry.push_back(lines_entry);
      for (std::int32_t i = block.first_line; i < block.last_line; ++i) {
        if (!document.fetch_line(i, line)) return false;
        entry += line;
      }
    } else {
      entry.push_back(characters_entry);
      for (std::int32_t i = block.first_line; i <= block.last_line; ++i) {
        if (!document.fetch_line(i, line)) return false;
        // The first line from the block's start, its terminator included; the
        // last line up to the block's end, excluded.
        std::size_t from = i == block.first_line
                               ? held_to(block.first_offset, terminator_of(line))
                               : 0;
        std::size_t to = i == block.last_line
                             ? held_to(block.last_offset, terminator_of(line))
                             : line.size();
        if (to > from) entry.append(line, from, to - from);
      }
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  return push_entry(context, std::move(entry));
}

bool push_line(text_document& document, edit_context& context) {
  if (!document.current || !context.stack) return false;
  const byte_string& text = document.current->text;
  bool last_line = document.current_line == document.line_count() - 1;
  if (last_line && !text.empty() && static_cast<unsigned char>(text[0]) == end_mark) return true;
  byte_string entry;
  try {
    if (!text.empty() && static_cast<unsigned char>(text.back()) == end_mark) {
      entry.push_back(characters_entry);
      entry.append(text, 0, text.size() - 1);
    } else {
      entry.push_back(lines_entry);
      entry += text;
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  return push_entry(context, std::move(entry));
}

void push_string(text_document& document, edit_context& context, bool move) {
  if (!context.stack) return;
  if (context.stack->is_full()) {
    if (!context.user().confirm(confirm_caption, stack_full_text)) return;
    context.stack->clear();
  }
  if (document.block_state != block_kind::none) {
    if (document.current_line == document.anchor_line &&
        document.position == document.anchor_position)
      return;
    if (!push_block(document, context)) return;
    if (move) {
      delete_block(document, context);
    } else {
      document.block_state = block_kind::none;
      repaint_with_cursor(document, context);
    }
    return;
  }
  if (push_line(document, context) && move) delete_line(document, context, true);
}

void pop_string(text_document& document, edit_context& context, bool remove) {
  if (!context.stack || context.stack->empty()) return;
  const byte_string& entry = context.stack->entries.back();
  std::int32_t line = document.current_line;
  std::int32_t column = document.column;
  std::int32_t top = document.top_line;
  if (!entry.empty()) {
    std::string_view text(entry);
    bool whole_lines = text.front() == lines_entry;
    text.remove_prefix(1);
    // Whole lines go in above the cursor line.
    if (whole_lines) backward_head(document, context, false);
    std::size_t at = 0;
    for (std::size_t cr = text.find('\r'); cr != std::string_view::npos; cr = text.find('\r', at)) {
      insert_string(document, context, byte_string(text.substr(at, cr - at)), false, true, true);
      insert_linefeed(document, context, false, true, true, false);
      at = cr + 1;
      if (at < text.size() && text[at] == '\n') ++at;
    }
    if (at < text.size())
      insert_string(document, context, byte_string(text.substr(at)), false, false, true);
  }
  if (remove) context.stack->entries.pop_back();
  go_to_position(document, context, line, column, top, true);
  context.screen().update_menus();
}

}  // namespace vintorel
