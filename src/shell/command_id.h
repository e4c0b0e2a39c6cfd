// Every command id the main window receives: the named commands (200 + their
// index; key bindings and menus post them), the menu and internal ids above
// them, and the ranges of the entries made at run time. Each id is written
// here and nowhere else; the rest of the program names commands by these.
#pragma once

namespace vintorel {

enum class command_id : int {
  none = 200,  // an unbound key: nothing happens

  // Application and menus.
  quit = 201,
  open_menu_file = 202,
  open_menu_text = 203,
  open_menu_program = 204,
  open_menu_tool = 205,
  open_menu_setting = 206,
  open_menu_help = 207,

  // Texts and files.
  open_file_new = 216,
  open_file = 217,
  open_console = 218,
  view_file = 219,
  reload_file = 220,
  duplicate_file = 221,
  open_dual_window = 222,
  change_window = 223,
  change_charset = 224,
  change_linefeed = 225,
  save_file = 226,
  close_file = 227,
  close_file_all = 228,

  // Editing, strings, search and jumps.
  undo_char = 232,
  undo_line = 233,
  change_mode_block = 234,
  push_string = 235,
  pop_string = 236,
  push_delete_string = 237,
  pop_delete_string = 238,
  insert_searchstring = 239,
  insert_clipboard = 240,
  input_search_replace = 241,
  get_searchstring = 242,
  replace = 243,
  replace_all = 244,
  replace_backward = 245,
  replace_forward = 246,
  change_wordcase = 247,
  search_backward = 248,
  search_forward = 249,
  compare = 250,
  jump = 251,
  mark = 252,
  jump_mark = 253,
  jump_previousline = 254,
  jump_tag = 255,

  // Motion and insertion.
  backward_char = 264,
  forward_char = 265,
  backward_word = 266,
  forward_word = 267,
  backward_page = 268,
  forward_page = 269,
  backward_head = 270,
  forward_tail = 271,
  backward_line = 272,
  forward_line = 273,
  backward_line_screen = 274,
  forward_line_screen = 275,
  backward_line_page = 276,
  forward_line_page = 277,
  backward_line_head = 278,
  forward_line_tail = 279,
  change_mode_insert = 280,
  insert_string = 281,  // parameter: a zero-terminated string
  insert_tab = 282,
  insert_space = 283,
  insert_linefeed = 284,
  insert_line = 285,

  // Deletion.
  delete_char = 296,
  delete_word = 297,
  delete_tail = 298,
  backspace_char = 299,
  backspace_word = 300,
  backspace_head = 301,

  // Tools.
  open_url = 312,

  // Menu and internal ids without a name; keys cannot be bound to them.
  benchmark = 313,
  charset_shift_jis = 328,  // the charset radio items, by charset code from 2
  charset_iso_2022_jp = 329,
  charset_euc_jp = 330,
  charset_utf_8 = 331,
  linefeed_crlf = 332,  // the line-end radio items, by line-end code from 1
  linefeed_lf = 333,
  linefeed_cr = 334,
  open_settings_file = 335,
  open_manual = 336,
  version_box = 337,
  hand_over_files = 338,    // parameter: the read-only flag
  hand_over_command = 339,
  append_output = 340,      // parameter: a zero-terminated string, inserted without repainting

  // Entries made at run time: entry i of each list has the first id + i.
  first_text_entry = 401,
  last_text_entry = 499,
  direct_command = 500,
  first_program_entry = 501,
  last_program_entry = 599,
  new_style = 600,
  first_style_entry = 601,
  last_style_entry = 699,
  new_program = 700,
  first_program_edit = 701,
  last_program_edit = 799,
};

constexpr int to_int(command_id id) { return static_cast<int>(id); }
// Command ids arrive as plain numbers (key bindings, the window's messages).
constexpr command_id to_command_id(int id) { return static_cast<command_id>(id); }
constexpr bool in_range(command_id id, command_id first, command_id last) {
  return to_int(id) >= to_int(first) && to_int(id) <= to_int(last);
}

// The 128 slots of the named commands: id 200 + index.
constexpr int command_count = 128;
constexpr int command_index(command_id id) { return to_int(id) - to_int(command_id::none); }
constexpr command_id command_of_index(int index) { return to_command_id(to_int(command_id::none) + index); }

// At most 99 entries of each run-time list.
constexpr int max_list_entries = to_int(command_id::last_text_entry) - to_int(command_id::first_text_entry) + 1;
constexpr command_id entry_id(command_id first, int index) { return to_command_id(to_int(first) + index); }
constexpr int entry_index(command_id first, command_id id) { return to_int(id) - to_int(first); }
constexpr command_id text_entry_id(int index) { return entry_id(command_id::first_text_entry, index); }

// The radio item of a charset code (2 Shift_JIS ... 5 UTF-8) or line-end code
// (1 CRLF, 2 LF, 3 CR), and back; none for a code without an item.
constexpr command_id charset_item(int charset_code) {
  return charset_code >= 2 && charset_code <= 5 ? entry_id(command_id::charset_shift_jis, charset_code - 2)
                                                : command_id::none;
}
constexpr int charset_of_item(command_id id) { return entry_index(command_id::charset_shift_jis, id) + 2; }
constexpr command_id linefeed_item(int linefeed_code) {
  return linefeed_code >= 1 && linefeed_code <= 3 ? entry_id(command_id::linefeed_crlf, linefeed_code - 1)
                                                  : command_id::none;
}
constexpr int linefeed_of_item(command_id id) { return entry_index(command_id::linefeed_crlf, id) + 1; }

}  // namespace vintorel
