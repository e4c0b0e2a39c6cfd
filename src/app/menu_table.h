// The menu bar as data: every menu, item, id, access key and submenu, the
// places of the submenus filled at run time, the labels of the text-switch
// entries and the rules that grey items for the current text.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/byte_string.h"

namespace vintorel {

enum class menu_entry_kind { item, separator, submenu, end };

// Submenus the program finds and fills at run time.
enum class menu_role { none, text_switch, charset, linefeed, style_entries, program_settings };

struct menu_entry {
  menu_entry_kind kind;
  int id;            // command id of an item; 0 for the others
  const char* text;  // UTF-8 with "&" before the access key; null for separators and ends
  menu_role role;    // what a submenu is for
};

// The menu bar in resource order: a submenu entry opens a menu that runs to its
// matching end entry. The seven top-level entries are submenus.
const std::vector<menu_entry>& menu_bar_entries();

// Places used at run time: the top-level menus by position, and the positions
// of the dynamic submenus inside their menus (separators count).
constexpr int file_menu_position = 0;
constexpr int edit_menu_position = 1;
constexpr int jump_menu_position = 2;
constexpr int program_menu_position = 3;
constexpr int tool_menu_position = 4;
constexpr int setting_menu_position = 5;
constexpr int help_menu_position = 6;
constexpr int top_menu_count = 7;
constexpr int text_switch_position = 8;     // in the File menu
constexpr int charset_menu_position = 10;   // in the File menu
constexpr int linefeed_menu_position = 11;  // in the File menu
constexpr int style_menu_position = 1;      // in the Settings menu
constexpr int program_settings_position = 2;  // in the Settings menu

// Ids of the entries made at run time.
constexpr int first_text_entry_id = 401;
constexpr int last_text_entry_id = 499;
constexpr int max_text_entries = last_text_entry_id - first_text_entry_id + 1;  // 99
constexpr int direct_command_id = 500;
constexpr int first_program_entry_id = 501;
constexpr int new_style_id = 600;
constexpr int first_style_entry_id = 601;
constexpr int new_program_id = 700;
constexpr int first_program_edit_id = 701;
constexpr int max_dynamic_entries = 99;

// Radio items of the charset and line-end submenus.
constexpr int first_charset_id = 328;  // Shift_JIS; charset code - 2 added
constexpr int last_charset_id = 331;
constexpr int first_linefeed_id = 332;  // CRLF; line-end code - 1 added
constexpr int last_linefeed_id = 334;
// The radio item of a charset or line-end code; 0 for a code without one.
int charset_item_id(int charset_code);
int linefeed_item_id(int linefeed_code);

// The letter after the "&" of an item text (upper case), 0 when there is none.
char access_key_of(std::string_view text);

// The decimal number with "," between groups of three digits from the right.
std::string group_thousands(std::int64_t value);
// The state mark of a text in the text-switch submenu: 'R' read-only, '*'
// modified, a blank otherwise and always for the console text.
char text_entry_mark(bool is_console, bool read_only, bool modified);
// "%13s %c %s" of the grouped size, the mark and the name.
byte_string text_entry_label(std::int64_t size, char mark, const byte_string& name);

// What the availability rules look at, for the current text.
struct menu_rule_input {
  bool read_only = false;
  bool needs_saving = false;     // modified, or its cursor line was edited
  bool is_console = false;
  int text_count = 1;            // texts open, the console included
  bool deleted_chars_empty = true;
  bool string_stack_empty = true;
  bool search_string_empty = true;
  bool dual = false;
};
struct menu_item_state {
  int id;
  bool enabled;
};
// The enabled state of every File, Edit and Jump item the rules govern.
std::vector<menu_item_state> menu_rule_states(const menu_rule_input& input);
// The item whose enabled state a command is checked against before it runs
// (pop_delete_string is checked against pop_string); 0 for commands that run
// unconditionally.
int menu_check_item(int command_id);

}  // namespace vintorel
