// Dispatch of the commands on strings: block selection, the string stack and
// the clipboard, the search and replacement strings with their dialog,
// searching, replacing, comparing the panes and the jump dialog.
#include <QMainWindow>

#include "app/dialog_search_replace.h"
#include "app/window_main.h"
#include "display/painter.h"
#include "text/block.h"
#include "text/clipboard.h"
#include "text/compare.h"
#include "text/motion.h"
#include "text/replace.h"
#include "text/search.h"
#include "text/string_stack.h"
#include "toolkit/string_table.h"

namespace vintorel {

namespace {
constexpr int insert_string_id = 281;
constexpr int change_window_id = 223;
}  // namespace

void window_::dispatch_strings(int id) {
  text_document* d = current_text();
  if (!d) return;
  edit_context c = context();
  switch (id) {
    case 234: toggle_block(*d, c); break;
    case 235:
    case 237:
      before_dialog();
      push_string(*d, c, id == 237);
      break;
    case 236:
    case 238: pop_string(*d, c, id == 238); break;
    case 239: {
      // A copy: the insertion may not alias the string it reads.
      byte_string text = search_.search_string;
      send_command(insert_string_id, reinterpret_cast<std::intptr_t>(text.c_str()));
      break;
    }
    case 240: insert_clipboard(*d, c); break;
    case 241: input_search_replace(); break;
    case 242: {
      byte_string before = search_.search_string;
      get_search_string(*d, c);
      if (search_.search_string != before && display_.layout.dual) repaint_other_pane();
      repaint_current();
      refresh_menus();
      break;
    }
    case 243: replace_at_cursor(*d, c, true); break;
    case 244:
      before_dialog();
      if (d->block_state != 0) {
        if (ui_.confirm(string_caption_confirm, string_replace_block_question)) replace_in_block(*d, c);
      } else if (ui_.confirm(string_caption_confirm, string_replace_all_question)) {
        replace_all(*d, c);
      }
      break;
    case 245:
      before_dialog();
      if (ui_.confirm(string_caption_confirm, string_replace_backward_question)) replace_backward(*d, c);
      break;
    case 246:
      before_dialog();
      if (ui_.confirm(string_caption_confirm, string_replace_forward_question)) replace_forward(*d, c);
      break;
    case 248: search_backward(*d, c, true); break;
    case 249: search_forward(*d, c, true); break;
    case 250: compare_panes(); break;
    case 251: jump_dialog(); break;
    default: break;
  }
}

void window_::repaint_other_pane() {
  send_command(change_window_id);
  repaint_current();
  send_command(change_window_id);
}

void window_::input_search_replace() {
  before_dialog();
  dialog_search_replace box;
  box.search_string = search_.search_string;
  box.replace_string = search_.replace_string;
  if (box.run_modal(frame()) != 1) return;
  text_document* d = current_text();
  if (!d) return;
  edit_context c = context();
  set_search_replace(*d, c, box.search_string, box.replace_string);
  repaint_current();
  if (display_.layout.dual && pane_text(1 - current_pane_index()) >= 0) repaint_other_pane();
  refresh_menus();
}

void window_::jump_dialog() {
  text_document* d = current_text();
  if (!d) return;
  before_dialog();
  dialog_jump box;
  box.current_line = d->current_line;
  box.last_line = d->line_count() - 1;
  if (box.run_modal(frame()) != 1) return;
  d = current_text();
  if (!d) return;
  edit_context c = context();
  jump(*d, c, box.chosen_line);
}

void window_::compare_panes() {
  if (!display_.layout.dual) return;
  int other_pane = 1 - current_pane_index();
  text_document* a = current_text();
  int other = pane_text(other_pane);
  if (!a || other < 0) return;
  edit_context a_context = context();
  edit_context b_context = a_context;
  b_context.pane = pane_of(display_, other_pane);
  b_context.pane.auto_indent = pane_styles_[static_cast<std::size_t>(other_pane)].auto_indent != 0;
  if (compare_texts(*a, a_context, text_at(other), b_context)) {
    before_dialog();
    ui_.notice(string_caption_notice, string_texts_agree);
  }
}

}  // namespace vintorel
