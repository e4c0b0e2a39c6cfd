// The constant table of the 73 named commands and the lookup by name.
#include "app/command_table.h"

namespace vintorel {

namespace {

struct named_command {
  int index;
  const char* name;
};

// Each name with its index (id - 200), in id order.
constexpr named_command named_commands[] = {
    {1, "quit"},
    {2, "open_menu_file"},
    {3, "open_menu_text"},
    {4, "open_menu_program"},
    {5, "open_menu_tool"},
    {6, "open_menu_setting"},
    {7, "open_menu_help"},
    {16, "open_file_new"},
    {17, "open_file"},
    {18, "open_console"},
    {19, "view_file"},
    {20, "reload_file"},
    {21, "duplicate_file"},
    {22, "open_dual_window"},
    {23, "change_window"},
    {24, "change_charset"},
    {25, "change_linefeed"},
    {26, "save_file"},
    {27, "close_file"},
    {28, "close_file_all"},
    {32, "undo_char"},
    {33, "undo_line"},
    {34, "change_mode_block"},
    {35, "push_string"},
    {36, "pop_string"},
    {37, "push_delete_string"},
    {38, "pop_delete_string"},
    {39, "insert_searchstring"},
    {40, "insert_clipboard"},
    {41, "input_search_replace"},
    {42, "get_searchstring"},
    {43, "replace"},
    {44, "replace_all"},
    {45, "replace_backward"},
    {46, "replace_forward"},
    {47, "change_wordcase"},
    {48, "search_backward"},
    {49, "search_forward"},
    {50, "compare"},
    {51, "jump"},
    {52, "mark"},
    {53, "jump_mark"},
    {54, "jump_previousline"},
    {55, "jump_tag"},
    {64, "backward_char"},
    {65, "forward_char"},
    {66, "backward_word"},
    {67, "forward_word"},
    {68, "backward_page"},
    {69, "forward_page"},
    {70, "backward_head"},
    {71, "forward_tail"},
    {72, "backward_line"},
    {73, "forward_line"},
    {74, "backward_line_screen"},
    {75, "forward_line_screen"},
    {76, "backward_line_page"},
    {77, "forward_line_page"},
    {78, "backward_line_head"},
    {79, "forward_line_tail"},
    {80, "change_mode_insert"},
    {81, "insert_string"},
    {82, "insert_tab"},
    {83, "insert_space"},
    {84, "insert_linefeed"},
    {85, "insert_line"},
    {96, "delete_char"},
    {97, "delete_word"},
    {98, "delete_tail"},
    {99, "backspace_char"},
    {100, "backspace_word"},
    {101, "backspace_head"},
    {112, "open_url"},
};

constexpr command_table_type build_table() {
  command_table_type table{};
  for (const named_command& c : named_commands)
    for (int k = 0; c.name[k] != '\0' && k < command_name_size - 1; ++k) table[c.index][k] = c.name[k];
  return table;
}

}  // namespace

constinit const command_table_type command_table = build_table();

int find_command(std::string_view name) {
  if (name.empty()) return 0;
  for (int i = 0; i < command_count; ++i)
    if (name == std::string_view(command_table[i].data())) return i;
  return 0;
}

const char* command_name(int index) {
  if (index < 0 || index >= command_count) return "";
  return command_table[index].data();
}

}  // namespace vintorel
