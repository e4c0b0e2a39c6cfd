// Comparing two texts character by character from their cursors.
#include "text/compare.h"

#include "text/char_class.h"
#include "text/cursor_place.h"
#include "text/motion.h"
#include "text/positions.h"

namespace vintorel {

namespace {

struct remembered {
  std::int32_t line, column, top;
};

remembered remember(const text_document& document) {
  return {document.current_line, document.column, document.top_line};
}

unsigned char byte_at_cursor(const text_document& document) {
  const byte_string& text = document.current->text;
  auto at = static_cast<std::size_t>(document.position);
  return at < text.size() ? static_cast<unsigned char>(text[at]) : end_mark;
}

// Whether the characters at the two cursors are the same: a double-byte
// character never equals two single bytes with the same values.
bool same_character(const text_document& a, const text_document& b) {
  const byte_string& x = a.current->text;
  const byte_string& y = b.current->text;
  auto p = static_cast<std::size_t>(a.position);
  auto q = static_cast<std::size_t>(b.position);
  std::size_t length = character_length(x, p);
  if (length == 0 || character_length(y, q) != length) return false;
  return x.compare(p, length, y, q, length) == 0;
}

}  // namespace

bool compare_texts(text_document& a, edit_context& a_context, text_document& b,
                   edit_context& b_context) {
  if (!a.current) return false;
  // A text shown in both panes agrees with itself.
  if (&a == &b) return true;
  remembered a_start = remember(a);
  remembered b_start = remember(b);
  if (!commit_and_reload(a, a_context) || !commit_and_reload(b, b_context)) return true;

  bool at_end = false;
  for (;;) {
    if (byte_at_cursor(a) == end_mark || byte_at_cursor(b) == end_mark) {
      at_end = true;
      break;
    }
    if (!same_character(a, b)) break;
    std::int32_t a_line = a.current_line, a_position = a.position;
    std::int32_t b_line = b.current_line, b_position = b.position;
    // At equal line ends both cursors go on to the start of their next lines.
    forward_char(a, a_context, false);
    forward_char(b, b_context, false);
    // A line that could not be loaded ends the comparison.
    if (!a.current || !b.current) return true;
    // A cursor that cannot move further has reached its text's end.
    if ((a.current_line == a_line && a.position == a_position) ||
        (b.current_line == b_line && b.position == b_position)) {
      at_end = true;
      break;
    }
  }
  if (at_end && byte_at_cursor(a) == end_mark && byte_at_cursor(b) == end_mark) {
    go_to_position(a, a_context, a_start.line, a_start.column, a_start.top, false);
    go_to_position(b, b_context, b_start.line, b_start.column, b_start.top, false);
    return true;
  }
  // The motions kept both cursors in view; the other pane first, then this one.
  b_context.screen().repaint_pane(b_context.pane, b);
  repaint_with_cursor(a, a_context);
  return false;
}

}  // namespace vintorel
