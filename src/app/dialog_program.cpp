// The program dialog built from its template, with its checks in the order
// the user meets them.
#include "app/dialog_program.h"

#include <QLineEdit>

#include "platform/string_table.h"
#include "settings/program_entry.h"
#include "settings/settings_section.h"

namespace vintorel {

namespace {

constexpr int id_help = 9;
constexpr int id_command = 804;
constexpr int id_title = 808;
constexpr int id_delete = 815;
constexpr int id_confirm = 816;
constexpr int help_first_line = 351;
constexpr int help_line_count = 35;

dialog_template program_template() {
  dialog_template t;
  t.name = "DIALOG_PROGRAM";
  t.caption = "コンソールプログラム";
  t.width = 220;
  t.height = 51;
  t.controls = {
      {no_id, control_kind::static_text, 0, 2, 56, 8, "タイトル", style_none},
      {id_title, control_kind::edit, 60, 1, 160, 10, "", style_auto_hscroll | style_border},
      {no_id, control_kind::static_text, 0, 14, 56, 8, "コマンドライン", style_none},
      {id_command, control_kind::edit, 60, 13, 160, 10, "", style_auto_hscroll | style_border},
      {id_confirm, control_kind::check_box, 60, 25, 100, 10, "実行前に確認  ", style_none},
      {id_help, control_kind::button, 0, 38, 36, 13, "Help", style_none},
      {id_delete, control_kind::button, 40, 38, 36, 13, "削除", style_none},
      {id_ok, control_kind::default_button, 152, 38, 32, 13, "OK", style_none},
      {id_cancel, control_kind::button, 188, 38, 32, 13, "Cancel", style_none},
  };
  return t;
}

}  // namespace

int dialog_program::run_modal(QWidget* parent) { return run(program_template(), parent, false); }

void dialog_program::on_init() {
  centre_on_parent();
  title_.attach(handle(), id_title);
  // Titles are read back up to 127 bytes; a longer one could not be found again.
  title_.limit_text(static_cast<int>(program_title_limit) + 1);
  command_.attach(handle(), id_command);
  confirm_.attach(handle(), id_confirm);

  if (index_ >= 0) {
    std::string title;
    if (!read_program_title(program_ini_, index_, title)) {
      end(2);
      return;
    }
    title_.set_text(title);
    command_.set_text(read_program_command(program_ini_, title));
    confirm_.set_checked(read_program_confirm(program_ini_, title));
  } else {
    confirm_.set_checked(true);
    // A new entry has nothing to delete.
    if (QWidget* w = item(id_delete)) delete w;
  }
  // OK needs both a title and a command line. The edits' own rules look at
  // one field each, so this runs after them.
  for (int id : {id_title, id_command})
    if (auto* line = qobject_cast<QLineEdit*>(item(id)))
      QObject::connect(line, &QLineEdit::textChanged, handle(), [this] { update_ok(); });
  update_ok();
  title_.set_focus();
  timer_.start(*this, 10);
}

void dialog_program::on_destroy() {
  timer_.stop();
  help_.close();
  confirm_.detach();
  command_.detach();
  title_.detach();
}

void dialog_program::on_timer(int) { help_.collect(); }

void dialog_program::update_ok() {
  if (QWidget* ok = item(id_ok)) ok->setEnabled(title_.text_length() > 0 && command_.text_length() > 0);
}

void dialog_program::changed() {
  if (on_programs_changed) on_programs_changed();
}

void dialog_program::on_command(int id, std::intptr_t) {
  switch (id) {
    case id_ok:
      accept_entry();
      break;
    case id_cancel:
      end(2);
      break;
    case id_delete:
      if (index_ >= 0) delete_entry();
      break;
    case id_help:
      help_.open(handle(), manual_path_, help_first_line, help_line_count);
      break;
    default:
      break;
  }
}

void dialog_program::accept_entry() {
  std::string old_title;
  if (index_ >= 0 && !read_program_title(program_ini_, index_, old_title)) return;
  std::string title = title_.text();
  if (title.empty()) return;
  if ((index_ < 0 || title != old_title) && section_taken(program_ini_, title, index_)) {
    notice(string_caption_notice, string_title_taken);
    return;
  }
  if (!is_acceptable_title(title)) {
    notice(string_caption_notice, string_bad_title);
    return;
  }
  // The old section goes in the same write that adds the new one, so a failure
  // leaves the entry as it was.
  if (!write_program_entry(program_ini_, old_title, title, command_.text(), confirm_.is_checked())) {
    error(string_caption_error, string_file_error);
    return;
  }
  changed();
  end(1);
}

void dialog_program::delete_entry() {
  if (!confirm(string_caption_confirm, string_delete_question)) return;
  std::string title;
  // An entry already gone is as good as deleted.
  if (read_program_title(program_ini_, index_, title) && !delete_program_entry(program_ini_, title)) {
    error(string_caption_error, string_file_error);
    return;
  }
  changed();
  end(1);
}

}  // namespace vintorel
