// The menu bar as data: every menu, item, id, access key and submenu, the
// places of the submenus filled at run time, the labels of the text-switch
// entries and the rules that grey items for the current text.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/byte_string.h"
#include "shell/command_id.h"

namespace vintorel {

enum class menu_entry_kind { item, separator, submenu, end };

// Submenus the program finds and fills at run time.
enum class menu_role { none, text_switch, charset, linefeed, style_entries, program_settings };

struct menu_entry {
  menu_entry_kind kind;
  command_id id;     // command id of an item; none for the others
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
  bool needs_saving = false;     // modified, its cursor line edited, or its charset or line end changed
  bool is_console = false;
  int text_count = 1;            // texts open, the console included
  bool deleted_chars_empty = true;
  bool string_stack_empty = true;
  bool search_string_empty = true;
  bool dual = false;
};
struct menu_item_state {
  command_id id;
  bool enabled;
};
// The enabled state of every File, Edit and Jump item the rules govern.
std::vector<menu_item_state> menu_rule_states(const menu_rule_input& input);
}  // namespace vintorel
