// The command dialog built from its template.
#include "app/dialog_shell.h"

#include "exec/program_entries.h"
#include "exec/thread_exec.h"

namespace vintorel {

namespace {

constexpr int id_command_edit = 804;
constexpr int id_directory_edit = 805;
constexpr int field_limit = 255;

dialog_template shell_template() {
  dialog_template t;
  t.name = "DIALOG_SHELL";
  t.caption = "コンソールプログラムの実行";
  t.width = 240;
  t.height = 38;
  t.controls = {
      {no_id, control_kind::static_text, 0, 2, 48, 8, "コマンドライン", style_none},
      {id_command_edit, control_kind::edit, 52, 1, 188, 10, "", style_auto_hscroll | style_border},
      {no_id, control_kind::static_text, 0, 14, 48, 8, "作業ディレクトリ", style_none},
      {id_directory_edit, control_kind::edit, 52, 13, 188, 10, "", style_auto_hscroll | style_border},
      {id_ok, control_kind::default_button, 180, 25, 28, 13, "OK", style_none},
      {id_cancel, control_kind::button, 212, 25, 28, 13, "Cancel", style_none},
  };
  return t;
}

}  // namespace

byte_string command_directory_of(const byte_string& typed) {
  if (typed.empty()) return "./";
  if (typed.back() != '/') return typed + "/";
  return typed;
}

int dialog_shell::run_modal(QWidget* parent) { return run(shell_template(), parent, false); }

void dialog_shell::on_init() {
  program_entry program;
  if (entry >= 0 && !read_program_entry(programs_path, entry, program)) {
    end(2);
    return;
  }
  command_edit_.attach(handle(), id_command_edit);
  directory_edit_.attach(handle(), id_directory_edit);
  directory_edit_.limit_text(field_limit + 1);
  directory_edit_.set_text(directory);
  // Setting the text enables or disables OK as typing would.
  command_edit_.set_text(entry >= 0 ? program.program : byte_string());
  command_edit_.on_change();
  command_edit_.set_focus();
  if (entry >= 0 && !program.confirm) post_command(id_ok);
}

void dialog_shell::on_command(int id, std::intptr_t) {
  if (id == id_ok) {
    command_edit_.set_focus();
    // OK is posted for an entry that runs at once; an empty line still waits.
    if (command_edit_.text_length() == 0) return;
    command_line = cut_to_bytes(command_edit_.text(), field_limit);
    directory = command_directory_of(cut_to_bytes(directory_edit_.text(), field_limit));
    end(1);
  } else if (id == id_cancel) {
    end(2);
  }
}

void dialog_shell::on_destroy() {
  command_edit_.detach();
  directory_edit_.detach();
}

}  // namespace vintorel
