// Handlers of the commands that move the cursor and edit the current text:
// the text model's commands by name, typed text, Enter and the edit mode.
#include "app/window_main.h"
#include "shell/command_handlers.h"
#include "shell/command_table.h"
#include "text/editing.h"
#include "text/text_commands.h"

namespace vintorel::handlers {

namespace {

void run_text_command(window_& w, command_id id, const byte_string& argument) {
  text_document* d = w.work().current_text();
  const vintorel::text_command* command = find_text_command(command_name(id));
  if (!d || !command) return;
  edit_context c = w.context();
  command->run(*d, c, argument);
}

}  // namespace

void text_command(window_& w, command_id id, std::intptr_t) { run_text_command(w, id, {}); }

void text_command_that_may_ask(window_& w, command_id id, std::intptr_t) {
  if (!w.work().current_text()) return;
  w.before_dialog();
  run_text_command(w, id, {});
}

void insert_string(window_& w, command_id id, std::intptr_t parameter) {
  text_document* d = w.work().current_text();
  // The parameter points at a zero-terminated string; append_output (the
  // output of a command) goes in without repainting.
  if (!d || parameter == 0) return;
  edit_context c = w.context();
  vintorel::insert_string(*d, c, byte_string(reinterpret_cast<const char*>(parameter)),
                          id == command_id::insert_string, true, false);
}

void insert_linefeed(window_& w, command_id id, std::intptr_t) {
  text_document* d = w.work().current_text();
  if (!d) return;
  // Enter closes a text opened for viewing.
  if (d->state == read_only_state) {
    send(w, command_id::close_file);
  } else {
    run_text_command(w, id, {});
  }
}

void change_mode_insert(window_& w, command_id, std::intptr_t) {
  w.work().overwrite = !w.work().overwrite;
  w.draw_bottom_line();
}

}  // namespace vintorel::handlers
