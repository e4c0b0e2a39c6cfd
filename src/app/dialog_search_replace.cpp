// The search/replace and jump dialogs built from their templates.
#include "app/dialog_search_replace.h"

#include <QLineEdit>
#include <QPushButton>

#include "text/search.h"
#include "toolkit/qt_text.h"

namespace vintorel {

namespace {

constexpr int id_search_edit = 800;
constexpr int id_replace_edit = 801;
constexpr int id_line_edit = 802;
constexpr int id_updown = 803;
constexpr std::size_t dialog_string_bytes = 255;

dialog_template search_replace_template() {
  dialog_template t;
  t.name = "DIALOG_SEARCH_REPLACE";
  t.caption = "検索/置換文字列? (設定するだけで、実際に検索/置換はしません)";
  t.width = 240;
  t.height = 38;
  t.controls = {
      {no_id, control_kind::static_text, 0, 2, 40, 8, "検索文字列", style_none},
      {id_search_edit, control_kind::edit, 44, 1, 196, 10, "", style_auto_hscroll | style_border},
      {no_id, control_kind::static_text, 0, 14, 40, 8, "置換文字列", style_none},
      {id_replace_edit, control_kind::edit, 44, 13, 196, 10, "", style_auto_hscroll | style_border},
      {id_ok, control_kind::default_button, 180, 25, 28, 13, "OK", style_none},
      {id_cancel, control_kind::button, 212, 25, 28, 13, "Cancel", style_none},
  };
  return t;
}

dialog_template jump_template() {
  dialog_template t;
  t.name = "DIALOG_JUMP";
  t.caption = "ジャンプする行?";
  t.width = 60;
  t.height = 25;
  t.controls = {
      {id_line_edit, control_kind::edit, 0, 1, 60, 10, "", style_digits_only | style_right_aligned | style_border},
      {id_ok, control_kind::default_button, 0, 12, 28, 13, "OK", style_none},
      {id_cancel, control_kind::button, 32, 12, 28, 13, "Cancel", style_none},
  };
  return t;
}

// The field's text in Shift_JIS, at most 255 bytes and never half a character.
byte_string field_text(QWidget* widget) {
  auto* edit = qobject_cast<QLineEdit*>(widget);
  return edit ? cut_for_dialog(to_sjis(edit->text())) : byte_string();
}

void set_field(QWidget* widget, const byte_string& text, int max_length) {
  auto* edit = qobject_cast<QLineEdit*>(widget);
  if (!edit) return;
  edit->setMaxLength(max_length);
  edit->setText(to_qstring(cut_for_dialog(text)));
}

// A positive line number in the field, 0 when there is none.
std::int64_t line_number(QWidget* widget) {
  auto* edit = qobject_cast<QLineEdit*>(widget);
  if (!edit) return 0;
  bool ok = false;
  qlonglong value = edit->text().toLongLong(&ok);
  return ok && value > 0 ? value : 0;
}

}  // namespace

int dialog_search_replace::run_modal(QWidget* parent) { return run(search_replace_template(), parent, false); }

void dialog_search_replace::on_init() {
  set_field(item(id_search_edit), search_string, static_cast<int>(dialog_string_bytes));
  set_field(item(id_replace_edit), replace_string, static_cast<int>(dialog_string_bytes));
}

void dialog_search_replace::on_command(int id, std::intptr_t) {
  if (id == id_ok) {
    search_string = field_text(item(id_search_edit));
    replace_string = field_text(item(id_replace_edit));
    end(1);
  } else if (id == id_cancel) {
    end(2);
  }
}

int dialog_jump::run_modal(QWidget* parent) { return run(jump_template(), parent, false); }

void dialog_jump::on_init() {
  if (!number_.attach(handle(), id_line_edit)) return;
  // The arrows run from the first line to the last; the number is shown in
  // the edit beside them.
  std::int64_t upper = static_cast<std::int64_t>(last_line) + 1;
  arrows_.create(0, 0, 0, 0, handle(), id_updown, number_, static_cast<int>(upper > 0x7fffffff ? 0x7fffffff : upper),
                 1, static_cast<int>(current_line) + 1);
  // OK waits for the number to change.
  if (QWidget* ok = item(id_ok)) ok->setEnabled(false);
}

void dialog_jump::on_destroy() {
  arrows_.detach();
  number_.detach();
}

void dialog_jump::on_command(int id, std::intptr_t) {
  if (id == id_ok) {
    std::int64_t number = line_number(item(id_line_edit));
    if (number <= 0) return;
    // Beyond the last line: the motion clamps, but the index must fit.
    std::int64_t index = number - 1;
    chosen_line = static_cast<std::int32_t>(index > last_line ? last_line : index);
    end(1);
  } else if (id == id_cancel) {
    end(2);
  }
}

}  // namespace vintorel
