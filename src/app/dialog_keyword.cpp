// The keyword dialog built from its template.
#include "app/dialog_keyword.h"

#include "platform/string_table.h"

namespace vintorel {

namespace {

constexpr int id_keyword_edit = 807;

dialog_template keyword_template() {
  dialog_template t;
  t.name = "DIALOG_KEYWORD";
  t.caption = "色分けキーワード?";
  t.width = 160;
  t.height = 25;
  t.controls = {
      {id_keyword_edit, control_kind::edit, 0, 1, 160, 10, "", style_auto_hscroll | style_border},
      {id_ok, control_kind::default_button, 96, 12, 28, 13, "OK", style_none},
      {id_cancel, control_kind::button, 132, 12, 28, 13, "Cancel", style_none},
  };
  return t;
}

}  // namespace

int dialog_keyword::run_modal(QWidget* parent) { return run(keyword_template(), parent, false); }

void dialog_keyword::on_init() {
  centre_on_parent();
  edit_.attach(handle(), id_keyword_edit);
  edit_.set_focus();
  // OK waits for a keyword.
  if (QWidget* ok = item(id_ok)) ok->setEnabled(false);
}

void dialog_keyword::on_destroy() { edit_.detach(); }

void dialog_keyword::on_command(int id, std::intptr_t) {
  if (id == id_ok) {
    byte_string text = edit_.text();
    if (text.empty()) return;
    // "," separates the keywords in ext.ini; it cannot be the second byte of
    // a double-byte character, so a plain search finds only real commas.
    if (text.find(',') != byte_string::npos) {
      notice(string_caption_notice, string_bad_keyword);
      return;
    }
    keyword = text;
    end(1);
  } else if (id == id_cancel) {
    end(2);
  }
}

}  // namespace vintorel
