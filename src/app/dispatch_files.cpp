// Handlers of the commands on files and the text list: new, open and view,
// close, the settings file and manual, and the hand-overs of a second
// instance.
#include <QProcess>

#include "app/window_filer.h"
#include "app/window_main.h"
#include "files/file_system.h"
#include "shell/command_handlers.h"
#include "shell/response_file.h"
#include "toolkit/key_mapping.h"
#include "platform/string_table.h"

namespace vintorel::handlers {

namespace {

void open_file_with(window_& w, bool read_only) {
  const settings_record& s = *w.setup().settings;
  // An outside file manager instead of the dialog: its window when one is
  // open, else the program.
  if (!s.filer_class.empty() && activate_filer_window(s.filer_class)) return;
  // A console program is never started as the file manager: it would run
  // unseen with nobody to read its output.
  if (!s.filer_path.empty() && !is_console_program(s.filer_path) &&
      QProcess::startDetached(QString::fromLocal8Bit(s.filer_path.c_str()), {}))
    return;
  w.before_dialog();
  byte_string chosen;
  if (w.user().choose_file(false, chosen)) w.open_text(w.work().text_count(), chosen, read_only);
}

}  // namespace

void open_file_new(window_& w, command_id, std::intptr_t) {
  w.before_dialog();
  if (w.user().confirm(string_caption_confirm, string_new_text_question)) w.new_text("???");
}

void open_file(window_& w, command_id, std::intptr_t) { open_file_with(w, ctrl_down()); }

void view_file(window_& w, command_id, std::intptr_t) { open_file_with(w, true); }

void close_file(window_& w, command_id, std::intptr_t) {
  if (w.close_text(close_mode::ask, false) && w.work().text_count() == 1) post(w, command_id::open_file);
}

void close_file_all(window_& w, command_id, std::intptr_t) {
  if (w.close_all_texts() && w.work().text_count() == 1) post(w, command_id::open_file);
}

void open_settings_file(window_& w, command_id, std::intptr_t) {
  w.open_text(w.work().text_count(), w.ini_path("vintorel.ini"), false);
}

void open_manual(window_& w, command_id, std::intptr_t) {
  w.open_text(w.work().text_count(), w.manual_path(), true);
}

void hand_over_files(window_& w, command_id, std::intptr_t read_only) {
  const std::string& response = w.setup().response_path;
  std::vector<std::string> lines;
  if (read_response_file(response, lines)) {
    for (const std::string& path : lines) {
      if (!path.empty()) w.open_text(w.work().text_count(), path, read_only != 0);
    }
  }
  delete_response_file(response);
}

void hand_over_command(window_& w, command_id, std::intptr_t) {
  const main_window_setup& setup = w.setup();
  std::vector<std::string> lines;
  bool have_command = read_response_file(setup.response_path, lines) && lines.size() >= 2;
  // The file goes before the command runs, so that another hand-over need
  // not wait for a long command.
  delete_response_file(setup.response_path);
  if (!have_command) return;
  byte_string directory = lines[0];
  if (directory.empty() || directory.back() != '/') directory += '/';
  run_command_in(w, directory, lines[1]);
}

}  // namespace vintorel::handlers
