// Inserting the clipboard's plain text at the cursor.
#include "text/clipboard.h"

#include <algorithm>

#include "text/char_class.h"
#include "text/editing.h"
#include "text/positions.h"

namespace vintorel {

void insert_clipboard(text_document& document, edit_context& context) {
  if (document.block_state != block_kind::none) return;
  byte_string text;
  if (!context.user().get_clipboard_text(text)) return;
  // Plain clipboard text ends at its first zero byte. An end mark inside a line
  // would end the text when it is saved and loaded again, losing everything
  // behind it, so none is let in.
  std::size_t zero = text.find('\0');
  if (zero != byte_string::npos) text.resize(zero);
  text.erase(std::remove(text.begin(), text.end(), static_cast<char>(end_mark)), text.end());
  if (text.empty()) return;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t line_end = text.find_first_of("\r\n", at);
    if (line_end == byte_string::npos) {
      insert_string(document, context, text.substr(at), false, true, true);
      break;
    }
    insert_string(document, context, text.substr(at, line_end - at), false, true, true);
    insert_linefeed(document, context, false, true, true, false);
    // CR LF is one line end; a lone CR or LF is one each.
    at = line_end + 1;
    if (text[line_end] == '\r' && at < text.size() && text[at] == '\n') ++at;
  }
  repaint_with_cursor(document, context);
  context.screen().update_menus();
}

}  // namespace vintorel
