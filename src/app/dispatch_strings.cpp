// Handlers of the commands on strings that need more than the text model:
// the search/replace dialog, taking the search string, replacing after a
// question, comparing the panes and the jump dialog.
#include <QMainWindow>

#include "app/dialog_search_replace.h"
#include "app/window_main.h"
#include "display/painter.h"
#include "shell/command_handlers.h"
#include "shell/command_table.h"
#include "text/compare.h"
#include "text/motion.h"
#include "text/search.h"
#include "text/text_commands.h"
#include "platform/string_table.h"

namespace vintorel::handlers {

namespace {

// Repaints the pane that is not current, switching there and back.
void repaint_other_pane(window_& w) {
  send(w, command_id::change_window);
  w.repaint_current();
  send(w, command_id::change_window);
}

}  // namespace

void input_search_replace(window_& w, command_id, std::intptr_t) {
  workspace& work = w.work();
  if (!work.current_text()) return;
  w.before_dialog();
  dialog_search_replace box;
  box.search_string = work.search.search_string;
  box.replace_string = work.search.replace_string;
  if (box.run_modal(w.frame()) != 1) return;
  text_document* d = work.current_text();
  if (!d) return;
  edit_context c = w.context();
  set_search_replace(*d, c, box.search_string, box.replace_string);
  w.repaint_current();
  if (work.dual() && work.pane_text(work.other_pane()) >= 0) repaint_other_pane(w);
  w.refresh_menus();
}

void get_searchstring(window_& w, command_id, std::intptr_t) {
  workspace& work = w.work();
  text_document* d = work.current_text();
  if (!d) return;
  edit_context c = w.context();
  byte_string before = work.search.search_string;
  get_search_string(*d, c);
  if (work.search.search_string != before && work.dual()) repaint_other_pane(w);
  w.repaint_current();
  w.refresh_menus();
}

void replace_after_question(window_& w, command_id id, std::intptr_t) {
  text_document* d = w.work().current_text();
  if (!d) return;
  int question = string_replace_all_question;
  if (id == command_id::replace_all && d->block_state != block_kind::none) question = string_replace_block_question;
  if (id == command_id::replace_backward) question = string_replace_backward_question;
  if (id == command_id::replace_forward) question = string_replace_forward_question;
  w.before_dialog();
  if (!w.user().confirm(string_caption_confirm, question)) return;
  edit_context c = w.context();
  find_text_command(command_name(id))->run(*d, c, {});
}

void compare(window_& w, command_id, std::intptr_t) {
  workspace& work = w.work();
  if (!work.dual()) return;
  int other_pane = work.other_pane();
  text_document* a = work.current_text();
  int other = work.pane_text(other_pane);
  if (!a || other < 0) return;
  edit_context a_context = w.context();
  edit_context b_context = a_context;
  b_context.pane = pane_of(w.display(), other_pane);
  b_context.pane.auto_indent = work.style(other_pane).auto_indent != 0;
  if (compare_texts(*a, a_context, work.text_at(other), b_context)) {
    w.before_dialog();
    w.user().notice(string_caption_notice, string_texts_agree);
  }
}

void jump(window_& w, command_id, std::intptr_t) {
  text_document* d = w.work().current_text();
  if (!d) return;
  w.before_dialog();
  dialog_jump box;
  box.current_line = d->current_line;
  box.last_line = d->line_count() - 1;
  if (box.run_modal(w.frame()) != 1) return;
  d = w.work().current_text();
  if (!d) return;
  edit_context c = w.context();
  vintorel::jump(*d, c, box.chosen_line);
}

}  // namespace vintorel::handlers
