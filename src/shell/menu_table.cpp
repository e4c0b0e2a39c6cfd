// The menu bar's items and submenus, the text-switch labels and the rules that
// grey File, Edit and Jump items.
#include "shell/menu_table.h"


namespace vintorel {

namespace {

using k = menu_entry_kind;

using c = command_id;

menu_entry item(command_id id, const char* text) { return {k::item, id, text, menu_role::none}; }
menu_entry separator() { return {k::separator, c::none, nullptr, menu_role::none}; }
menu_entry submenu(const char* text, menu_role role = menu_role::none) {
  return {k::submenu, c::none, text, role};
}
menu_entry end() { return {k::end, c::none, nullptr, menu_role::none}; }

std::vector<menu_entry> make_menu_bar() {
  return {
      submenu("ファイル(&F)"),
      item(c::open_file_new, "新規(&N)"),
      item(c::open_file, "開く(&O)..."),
      item(c::view_file, "ReadOnlyで開く(&R)..."),
      item(c::reload_file, "再読込(&U)"),
      item(c::duplicate_file, "二重化(&D)"),
      separator(),
      item(c::open_dual_window, "窓を2つ開く(&W)"),
      item(c::change_window, "他のテキストへ(&J)"),
      submenu("切替(&T)", menu_role::text_switch),
      end(),
      separator(),
      submenu("文字コードセット(&E)", menu_role::charset),
      item(c::charset_shift_jis, "Shift_JIS(&S)"),
      item(c::charset_iso_2022_jp, "ISO-2022-JP(&J)"),
      item(c::charset_euc_jp, "EUC-JP(&E)"),
      item(c::charset_utf_8, "UTF-8(&U)"),
      end(),
      submenu("改行コード種(&L)", menu_role::linefeed),
      item(c::linefeed_crlf, "CRLF(&W)"),
      item(c::linefeed_lf, "LF(&L)"),
      item(c::linefeed_cr, "CR(&C)"),
      end(),
      separator(),
      item(c::save_file, "保存(&S)"),
      separator(),
      item(c::close_file, "閉じる(&C)"),
      item(c::close_file_all, "全て閉じる(&X)"),
      separator(),
      item(c::quit, "終了(&Q)"),
      end(),

      submenu("編集(&E)"),
      item(c::undo_char, "削除文字の復活(&U)"),
      item(c::undo_line, "その行を元に戻す(&L)"),
      separator(),
      item(c::change_mode_block, "範囲選択モード(&M)"),
      item(c::push_string, "スタックへコピー(&C)"),
      item(c::pop_string, "スタックからコピー(&P)"),
      item(c::push_delete_string, "スタックへ移動(&X)"),
      item(c::pop_delete_string, "スタックから移動(&D)"),
      separator(),
      item(c::insert_searchstring, "検索文字列を挿入(&I)"),
      item(c::insert_clipboard, "クリップボードからコピー(&V)"),
      separator(),
      item(c::input_search_replace, "検索/置換文字列の設定(&S)..."),
      item(c::get_searchstring, "検索文字列の取得(&G)"),
      item(c::replace, "その一語を置換(&R)"),
      item(c::replace_all, "テキスト全体を置換(&A)"),
      item(c::replace_backward, "カーソル以前を置換(&B)"),
      item(c::replace_forward, "カーソル以降を置換(&F)"),
      end(),

      submenu("移動(&J)"),
      item(c::search_backward, "前方の検索(&U)"),
      item(c::search_forward, "後方の検索(&D)"),
      separator(),
      item(c::compare, "比較(&C)"),
      separator(),
      item(c::jump, "指定の行へ(&J)..."),
      item(c::mark, "その位置をマーク(&M)"),
      item(c::jump_mark, "マーク位置へ(&K)"),
      item(c::jump_previousline, "直前の行へ(&P)"),
      separator(),
      item(c::jump_tag, "タグジャンプ(&T)"),
      end(),

      submenu("プログラム(&P)"),
      item(c::direct_command, "直接入力(&D)..."),
      end(),

      submenu("ツール(&T)"),
      item(c::open_url, "カーソル位置のURLを開く(&U)"),
      item(c::benchmark, "ベンチマーク値の計測(&B)"),
      end(),

      submenu("設定(&S)"),
      item(c::open_settings_file, "設定ファイルを開く(&C)"),
      submenu("拡張子ごとのスタイル(&E)", menu_role::style_entries),
      item(c::new_style, "新規作成(&M)..."),
      end(),
      submenu("プログラム(&P)", menu_role::program_settings),
      item(c::new_program, "新規作成(&M)..."),
      end(),
      end(),

      submenu("説明(&H)"),
      item(c::open_manual, "マニュアルを開く(&H)"),
      separator(),
      item(c::version_box, "バージョン情報(&A)"),
      end(),
  };
}

}  // namespace

const std::vector<menu_entry>& menu_bar_entries() {
  static const std::vector<menu_entry> entries = make_menu_bar();
  return entries;
}

char access_key_of(std::string_view text) {
  std::size_t at = text.find('&');
  if (at == std::string_view::npos || at + 1 >= text.size()) return 0;
  char c = text[at + 1];
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return c;
}

std::string group_thousands(std::int64_t value) {
  // The magnitude as unsigned, so the most negative value has one too.
  std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  std::string digits = std::to_string(magnitude);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return value < 0 ? "-" + out : out;
}

char text_entry_mark(bool is_console, bool read_only, bool modified) {
  if (is_console) return ' ';
  if (read_only) return 'R';
  if (modified) return '*';
  return ' ';
}

byte_string text_entry_label(std::int64_t size, char mark, const byte_string& name) {
  std::string grouped = group_thousands(size);
  byte_string out;
  if (grouped.size() < 13) out.assign(13 - grouped.size(), ' ');
  out += grouped;
  out += ' ';
  out += mark;
  out += ' ';
  out += name;
  return out;
}

std::vector<menu_item_state> menu_rule_states(const menu_rule_input& in) {
  bool writable = !in.read_only;
  bool search = !in.search_string_empty;
  return {
      {c::save_file, writable && in.needs_saving && !in.is_console},
      {c::reload_file, !in.is_console},
      {c::duplicate_file, !in.is_console},
      {c::close_file, !in.is_console},
      {c::close_file_all, in.text_count > 1},
      {c::undo_char, writable && !in.deleted_chars_empty},
      {c::pop_string, writable && !in.string_stack_empty},
      {c::pop_delete_string, writable && !in.string_stack_empty},
      {c::search_backward, search},
      {c::search_forward, search},
      {c::compare, in.dual},
      {c::insert_searchstring, writable && search},
      {c::replace, writable && search},
      {c::replace_all, writable && search},
      {c::replace_backward, writable && search},
      {c::replace_forward, writable && search},
  };
}

}  // namespace vintorel
