// Handlers of the Program menu: direct input of a command line and the
// program entries, both confirmed in the command dialog and run in the
// console.
#include <QMainWindow>

#include "app/dialog_shell.h"
#include "app/window_main.h"
#include "shell/command_handlers.h"

namespace vintorel::handlers {

namespace {

// The command dialog for `entry` (-1: typed directly); on OK the confirmed
// directory becomes the command directory and the command runs.
void run_from_dialog(window_& w, int entry) {
  w.before_dialog();
  dialog_shell box;
  box.entry = entry;
  box.programs_path = w.ini_path("program.ini");
  box.directory = w.work().command_directory;
  if (box.run_modal(w.frame()) != 1) return;
  run_command_in(w, box.directory, box.command_line);
}

}  // namespace

void direct_command(window_& w, command_id, std::intptr_t) { run_from_dialog(w, -1); }

void run_program_entry(window_& w, command_id id, std::intptr_t) {
  run_from_dialog(w, entry_index(command_id::first_program_entry, id));
}

}  // namespace vintorel::handlers
