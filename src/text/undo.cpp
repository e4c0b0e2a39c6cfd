// undo_char and undo_line.
#include "text/undo.h"

#include <utility>

#include "text/deleted_chars.h"
#include "text/editing.h"
#include "text/char_class.h"
#include "text/positions.h"

namespace vintorel {

void undo_char(text_document& document, edit_context& context) {
  deleted_char_buffer* buffer = context.deleted;
  if (document.block_state != block_kind::none || !buffer || buffer->count == 0) return;
  // An entry is only taken when it can go back in; otherwise it would be lost.
  if (!can_edit(document)) return;
  const unsigned char* entry = buffer->storage.data() + 3 * (buffer->count - 1);
  bool advance = entry[0] == 1;
  if (entry[1] != cr_byte) {
    byte_string text(1, static_cast<char>(entry[1]));
    if (entry[2] != 0) text.push_back(static_cast<char>(entry[2]));
    insert_string(document, context, text, true, advance, true);
  } else {
    insert_linefeed(document, context, true, advance, true, false);
  }
  buffer->count -= 1;
  buffer->storage[3 * static_cast<std::size_t>(buffer->count)] = 0;
  context.screen().update_menus();
}

void undo_line(text_document& document, edit_context& context) {
  if (!document.current || document.block_state != block_kind::none || document.state == read_only_state) return;
  std::int32_t old_row = cursor_row(document, context);
  std::int32_t old_cell = cell_column(document, context, document.column);
  std::int32_t old_desired = document.desired_column;
  // The edited buffer is dropped without committing; the index still holds the
  // line as it was when the cursor came to it.
  std::unique_ptr<line_record> edited = std::move(document.current);
  document.desired_column = 0;
  if (!reload_current_line(document, context)) {
    document.current = std::move(edited);
    document.desired_column = old_desired;
    return;
  }
  if (document.size >= 0)
    document.size += static_cast<std::int64_t>(document.current->text.size()) -
                     static_cast<std::int64_t>(edited->text.size());
  display_requests& screen = context.screen();
  if (document.left_column != 0) {
    document.left_column = 0;
    screen.repaint_pane(context.pane, document);
  } else {
    screen.erase_cursor(context.pane, old_row, old_cell);
    screen.paint_line(context.pane, document, document.current_line);
    screen.draw_status_line(context.pane, document);
  }
  screen.draw_cursor(context.pane, cursor_row(document, context),
                     cell_column(document, context, document.column));
}

}  // namespace vintorel
