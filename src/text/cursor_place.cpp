// Putting the cursor at a byte offset, and committing without moving it.
#include "text/cursor_place.h"

#include "text/char_class.h"
#include "text/positions.h"

namespace vintorel {

namespace {

void set_offset(text_document& document, const edit_context& context, std::int32_t offset) {
  std::int32_t end = terminator_offset(document);
  if (offset > end) offset = end;
  if (offset < 0) offset = 0;
  const char* start = document.current->text.c_str();
  if (is_trail_byte(start, start + offset)) offset -= 1;
  document.position = offset;
  document.column = column_of_position(document, context, offset);
}

}  // namespace

bool commit_and_reload(text_document& document, const edit_context& context) {
  if (!document.current) return reload_current_line(document, context);
  std::int32_t offset = document.position;
  std::int32_t desired = document.desired_column;
  document.commit_current_line();
  if (!reload_current_line(document, context)) return false;
  set_offset(document, context, offset);
  document.desired_column = desired;
  return true;
}

bool place_cursor_at(text_document& document, const edit_context& context, std::int32_t line,
                     std::int32_t offset) {
  document.commit_current_line();
  document.current_line = line;
  document.desired_column = 0;
  if (!reload_current_line(document, context)) return false;
  set_offset(document, context, offset);
  document.desired_column = document.column;
  return true;
}

}  // namespace vintorel
