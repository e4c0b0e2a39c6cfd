// The menu bar's items and submenus, the text-switch labels and the rules that
// grey File, Edit and Jump items.
#include "app/menu_table.h"

#include <cstdio>

namespace vintorel {

namespace {

using k = menu_entry_kind;

menu_entry item(int id, const char* text) { return {k::item, id, text, menu_role::none}; }
menu_entry separator() { return {k::separator, 0, nullptr, menu_role::none}; }
menu_entry submenu(const char* text, menu_role role = menu_role::none) {
  return {k::submenu, 0, text, role};
}
menu_entry end() { return {k::end, 0, nullptr, menu_role::none}; }

std::vector<menu_entry> make_menu_bar() {
  return {
      submenu("ファイル(&F)"),
      item(216, "新規(&N)"),
      item(217, "開く(&O)..."),
      item(219, "ReadOnlyで開く(&R)..."),
      item(220, "再読込(&U)"),
      item(221, "二重化(&D)"),
      separator(),
      item(222, "窓を2つ開く(&W)"),
      item(223, "他のテキストへ(&J)"),
      submenu("切替(&T)", menu_role::text_switch),
      end(),
      separator(),
      submenu("文字コードセット(&E)", menu_role::charset),
      item(328, "Shift_JIS(&S)"),
      item(329, "ISO-2022-JP(&J)"),
      item(330, "EUC-JP(&E)"),
      item(331, "UTF-8(&U)"),
      end(),
      submenu("改行コード種(&L)", menu_role::linefeed),
      item(332, "CRLF(&W)"),
      item(333, "LF(&L)"),
      item(334, "CR(&C)"),
      end(),
      separator(),
      item(226, "保存(&S)"),
      separator(),
      item(227, "閉じる(&C)"),
      item(228, "全て閉じる(&X)"),
      separator(),
      item(201, "終了(&Q)"),
      end(),

      submenu("編集(&E)"),
      item(232, "削除文字の復活(&U)"),
      item(233, "その行を元に戻す(&L)"),
      separator(),
      item(234, "範囲選択モード(&M)"),
      item(235, "スタックへコピー(&C)"),
      item(236, "スタックからコピー(&P)"),
      item(237, "スタックへ移動(&X)"),
      item(238, "スタックから移動(&D)"),
      separator(),
      item(239, "検索文字列を挿入(&I)"),
      item(240, "クリップボードからコピー(&V)"),
      separator(),
      item(241, "検索/置換文字列の設定(&S)..."),
      item(242, "検索文字列の取得(&G)"),
      item(243, "その一語を置換(&R)"),
      item(244, "テキスト全体を置換(&A)"),
      item(245, "カーソル以前を置換(&B)"),
      item(246, "カーソル以降を置換(&F)"),
      end(),

      submenu("移動(&J)"),
      item(248, "前方の検索(&U)"),
      item(249, "後方の検索(&D)"),
      separator(),
      item(250, "比較(&C)"),
      separator(),
      item(251, "指定の行へ(&J)..."),
      item(252, "その位置をマーク(&M)"),
      item(253, "マーク位置へ(&K)"),
      item(254, "直前の行へ(&P)"),
      separator(),
      item(255, "タグジャンプ(&T)"),
      end(),

      submenu("プログラム(&P)"),
      item(500, "直接入力(&D)..."),
      end(),

      submenu("ツール(&T)"),
      item(312, "カーソル位置のURLを開く(&U)"),
      item(313, "ベンチマーク値の計測(&B)"),
      end(),

      submenu("設定(&S)"),
      item(335, "設定ファイルを開く(&C)"),
      submenu("拡張子ごとのスタイル(&E)", menu_role::style_entries),
      item(600, "新規作成(&M)..."),
      end(),
      submenu("プログラム(&P)", menu_role::program_settings),
      item(700, "新規作成(&M)..."),
      end(),
      end(),

      submenu("説明(&H)"),
      item(336, "マニュアルを開く(&H)"),
      separator(),
      item(337, "バージョン情報(&A)"),
      end(),
  };
}

}  // namespace

const std::vector<menu_entry>& menu_bar_entries() {
  static const std::vector<menu_entry> entries = make_menu_bar();
  return entries;
}

int charset_item_id(int charset_code) {
  if (charset_code < 2 || charset_code > 5) return 0;
  return first_charset_id + charset_code - 2;
}

int linefeed_item_id(int linefeed_code) {
  if (linefeed_code < 1 || linefeed_code > 3) return 0;
  return first_linefeed_id + linefeed_code - 1;
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
      {226, writable && in.needs_saving && !in.is_console},
      {220, !in.is_console},
      {221, !in.is_console},
      {227, !in.is_console},
      {228, in.text_count > 1},
      {232, writable && !in.deleted_chars_empty},
      {236, writable && !in.string_stack_empty},
      {238, writable && !in.string_stack_empty},
      {248, search},
      {249, search},
      {250, in.dual},
      {239, writable && search},
      {243, writable && search},
      {244, writable && search},
      {245, writable && search},
      {246, writable && search},
  };
}

int menu_check_item(int command_id) {
  switch (command_id) {
    case 220: case 221: case 226: case 227: case 228:
    case 232:
    case 239: case 243: case 244: case 245: case 246:
    case 248: case 249: case 250:
      return command_id;
    case 236: case 238:
      return 236;
    default:
      return 0;
  }
}

}  // namespace vintorel
