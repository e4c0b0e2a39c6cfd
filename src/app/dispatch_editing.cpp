// Dispatch of the commands that move the cursor and edit the current text:
// motions, insertion, deletion, undo, marks and the edit mode.
#include "app/window_main.h"
#include "text/editing.h"
#include "text/motion.h"
#include "text/undo.h"

namespace vintorel {

namespace {
constexpr int insert_string_id = 281;
constexpr int close_file_id = 227;
}  // namespace

void window_::dispatch_editing(int id, std::intptr_t parameter) {
  if (id == 280) {
    overwrite_ = !overwrite_;
    draw_bottom_line();
    return;
  }
  if (id >= 234 && id <= 251 && id != 247) {
    dispatch_strings(id);
    return;
  }
  text_document* d = current_text();
  if (!d) return;
  edit_context c = context();
  switch (id) {
    case 232: undo_char(*d, c); break;
    case 233: undo_line(*d, c); break;
    case 247: change_word_case(*d, c); break;
    case 252: mark(*d); break;
    case 253: jump_mark(*d, c); break;
    case 254: jump_previousline(*d, c); break;
    case 264: backward_char(*d, c, true); break;
    case 265: forward_char(*d, c, true); break;
    case 266: backward_word(*d, c); break;
    case 267: forward_word(*d, c); break;
    case 268: backward_page(*d, c); break;
    case 269: forward_page(*d, c); break;
    case 270: backward_head(*d, c, true); break;
    case 271: forward_tail(*d, c, true); break;
    case 272: backward_line(*d, c, true, true, false); break;
    case 273: forward_line(*d, c, true, true, false); break;
    case 274: backward_line_screen(*d, c); break;
    case 275: forward_line_screen(*d, c); break;
    case 276: backward_line_page(*d, c); break;
    case 277: forward_line_page(*d, c); break;
    case 278: backward_line_head(*d, c, true); break;
    case 279: forward_line_tail(*d, c, true); break;
    case 281:
    case 340:
      // The parameter points at a zero-terminated string; 340 (output of a
      // command) goes in without repainting.
      if (parameter != 0) {
        insert_string(*d, c, byte_string(reinterpret_cast<const char*>(parameter)), id == 281, true, false);
      }
      break;
    case 282:
      if (overwrite_) {
        next_tab_stop(*d, c);
      } else {
        send_command(insert_string_id, reinterpret_cast<std::intptr_t>("\t"));
      }
      break;
    case 283:
      send_command(insert_string_id, reinterpret_cast<std::intptr_t>(" "));
      break;
    case 284:
      // Enter closes a text opened for viewing.
      if (d->state == read_only_state) {
        send_command(close_file_id);
      } else {
        insert_linefeed(*d, c, true, true, false, c.pane.auto_indent);
      }
      break;
    case 285: insert_line(*d, c, true); break;
    case 296: delete_char(*d, c, true, true, false); break;
    case 297: delete_word(*d, c); break;
    case 298: delete_tail(*d, c, true, true); break;
    case 299: backspace_char(*d, c, true, true); break;
    case 300: backspace_word(*d, c); break;
    case 301: backspace_head(*d, c, true, true); break;
    default:
      // Ids without behaviour here (200, the gaps, commands of other areas).
      break;
  }
}

}  // namespace vintorel
