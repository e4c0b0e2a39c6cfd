// The extension-style dialog built from its template, with its checks in the
// order the user meets them and its keyword list.
#include "app/dialog_extension.h"

#include <QLineEdit>

#include "app/dialog_keyword.h"
#include "platform/string_table.h"
#include "settings/extension_style.h"
#include "settings/settings_file.h"
#include "settings/settings_section.h"

namespace vintorel {

namespace {

constexpr int id_help = 9;
constexpr int id_title = 808;
constexpr int id_tab_size = 809;
constexpr int id_arrows = 810;
constexpr int id_auto_indent = 811;
constexpr int id_keywords = 812;
constexpr int id_add = 813;
constexpr int id_remove = 814;
constexpr int id_delete = 815;
constexpr int help_first_line = 319;
constexpr int help_line_count = 31;
// Titles are read back up to 255 bytes; a longer one could not be found again.
constexpr int title_limit = 255;

dialog_template extension_template() {
  dialog_template t;
  t.name = "DIALOG_EXTENSION";
  t.caption = "拡張子ごとのスタイル";
  t.width = 200;
  t.height = 101;
  t.controls = {
      {no_id, control_kind::static_text, 0, 2, 40, 8, "タイトル", style_none},
      {id_title, control_kind::edit, 44, 1, 156, 10, "", style_auto_hscroll | style_border | style_lower_case},
      {no_id, control_kind::static_text, 0, 14, 40, 8, "タブ幅", style_none},
      {id_tab_size, control_kind::edit, 44, 13, 28, 10, "", style_digits_only | style_right_aligned | style_border},
      {id_auto_indent, control_kind::check_box, 84, 13, 80, 10, "オートインデント", style_none},
      {no_id, control_kind::static_text, 0, 26, 40, 8, "キーワード", style_none},
      {id_keywords, control_kind::list_box, 44, 25, 116, 60, "", style_sorted | style_border},
      {id_add, control_kind::button, 164, 25, 36, 13, "追加", style_none},
      {id_remove, control_kind::button, 164, 41, 36, 13, "抹消", style_none},
      {id_help, control_kind::button, 0, 88, 36, 13, "Help", style_none},
      {id_delete, control_kind::button, 40, 88, 36, 13, "削除", style_none},
      {id_ok, control_kind::default_button, 132, 88, 32, 13, "OK", style_none},
      {id_cancel, control_kind::button, 168, 88, 32, 13, "Cancel", style_none},
  };
  return t;
}

}  // namespace

int dialog_extension::run_modal(QWidget* parent) { return run(extension_template(), parent, false); }

void dialog_extension::on_init() {
  centre_on_parent();
  title_.attach(handle(), id_title);
  title_.limit_text(title_limit + 1);
  tab_size_.attach(handle(), id_tab_size);
  auto_indent_.attach(handle(), id_auto_indent);
  keywords_.attach(handle(), id_keywords);

  std::string title;
  int tab = 8;
  if (index_ >= 0) {
    if (!read_style_title(ext_ini_, index_, title)) {
      end(2);
      return;
    }
    title_.set_text(title);
    std::int32_t read = read_setting_int(ext_ini_, title, "tab size", 2);
    tab = read < 1 ? 1 : read > 99 ? 99 : read;
    auto_indent_.set_checked(read_setting_string(ext_ini_, title, "auto indent", 2, "-").starts_with('+'));
    std::string value = read_setting_string(ext_ini_, title, "keyword", keyword_value_limit + 1, "");
    for (const std::string& k : split_keywords(value)) keywords_.add(k);
  } else if (QWidget* w = item(id_delete)) {
    // A new style has nothing to delete.
    delete w;
  }
  arrows_.create(0, 0, 0, 0, handle(), id_arrows, tab_size_, 99, 1, tab);
  set_list_usable(keywords_.count() > 0);
  if (keywords_.count() > 0) keywords_.select(0);

  // OK follows both fields: a title and a tab width of at least 1. The edits'
  // own rules look at one field each, so this runs after them.
  for (int id : {id_title, id_tab_size})
    if (auto* line = qobject_cast<QLineEdit*>(item(id)))
      QObject::connect(line, &QLineEdit::textChanged, handle(), [this] { update_ok(); });
  update_ok();
  title_.set_focus();
  timer_.start(*this, 10);
}

void dialog_extension::on_destroy() {
  timer_.stop();
  help_.close();
  arrows_.detach();
  keywords_.detach();
  auto_indent_.detach();
  tab_size_.detach();
  title_.detach();
}

void dialog_extension::on_timer(int) { help_.collect(); }

void dialog_extension::update_ok() {
  if (QWidget* ok = item(id_ok)) ok->setEnabled(title_.text_length() > 0 && tab_size_.get_number() >= 1);
}

void dialog_extension::set_list_usable(bool usable) {
  if (usable) {
    keywords_.enable();
  } else {
    keywords_.disable();
  }
  if (QWidget* remove = item(id_remove)) remove->setEnabled(usable);
}

void dialog_extension::changed() {
  if (on_styles_changed) on_styles_changed();
}

void dialog_extension::on_command(int id, std::intptr_t) {
  switch (id) {
    case id_ok:
      accept_style();
      break;
    case id_cancel:
      end(2);
      break;
    case id_add:
      add_keyword();
      break;
    case id_remove:
      remove_keyword();
      break;
    case id_delete:
      if (index_ >= 0) delete_style();
      break;
    case id_help:
      help_.open(handle(), manual_path_, help_first_line, help_line_count);
      break;
    default:
      break;
  }
}

void dialog_extension::accept_style() {
  std::string old_title;
  if (index_ >= 0 && !read_style_title(ext_ini_, index_, old_title)) return;
  std::string title = title_.text();
  if (title.empty()) return;
  if (!is_acceptable_title(title)) {
    notice(string_caption_notice, string_bad_title);
    return;
  }
  if ((index_ < 0 || title != old_title) && section_taken(ext_ini_, title, index_)) {
    notice(string_caption_notice, string_title_taken);
    return;
  }
  std::vector<std::string> pieces;
  for (int i = 0; i < keywords_.count(); ++i) pieces.push_back(keywords_.text_at(i));
  // The old section goes in the same write that adds the new one, so a failure
  // leaves the style as it was.
  if (!replace_style(ext_ini_, old_title, title, arrows_.position(), auto_indent_.is_checked(),
                     join_keywords(pieces))) {
    error(string_caption_error, string_file_error);
    return;
  }
  changed();
  end(1);
}

void dialog_extension::add_keyword() {
  dialog_keyword box;
  if (box.run_modal(handle()) != 1) return;
  if (keywords_.find(box.keyword) >= 0) {
    notice(string_caption_notice, string_title_taken);
    return;
  }
  int index = keywords_.add(box.keyword);
  if (index < 0) return;
  keywords_.select(index);
  if (keywords_.count() == 1) set_list_usable(true);
}

void dialog_extension::remove_keyword() {
  int index = keywords_.selection();
  if (index < 0) return;
  keywords_.remove(index);
  int count = keywords_.count();
  if (count == 0) {
    set_list_usable(false);
    return;
  }
  keywords_.select(index < count ? index : count - 1);
}

void dialog_extension::delete_style() {
  title_.set_focus();
  if (!confirm(string_caption_confirm, string_delete_question)) return;
  std::string title;
  // A style already gone is as good as deleted.
  if (read_style_title(ext_ini_, index_, title) && !vintorel::delete_style(ext_ini_, title)) {
    error(string_caption_error, string_file_error);
    return;
  }
  changed();
  end(1);
}

}  // namespace vintorel
