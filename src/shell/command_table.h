// The command table: one record per command or range of ids with its name,
// the menu item whose greyed state refuses it, and its handler. Key bindings
// look commands up by name here, menus name them by id, and dispatch runs the
// handler of the record an id falls in.
//
// The handlers are defined in the window library, so code of the plain core
// reads this table only in constant expressions (the name table below is made
// from it at compile time); a run-time reading from the core would not link.
#pragma once
#include <array>
#include <string_view>

#include "shell/command_handlers.h"
#include "shell/command_id.h"

namespace vintorel {

struct command_record {
  command_id first;
  command_id last;        // the same as first but for the run-time lists and radio items
  const char* name;       // "" for menu and internal ids, which keys cannot be bound to
  command_id available;   // refused while this menu item is greyed; none: always runs
  command_handler run;    // null: the id does nothing yet
};

constexpr command_record command_row(command_id id, const char* name, command_handler run,
                                     command_id available = command_id::none) {
  return {id, id, name, available, run};
}
constexpr command_record range_row(command_id first, command_id last, command_handler run) {
  return {first, last, "", command_id::none, run};
}

// In id order.
inline constexpr command_record command_records[] = {
    // clang-format off
    command_row(command_id::quit, "quit", handlers::quit),
    command_row(command_id::open_menu_file, "open_menu_file", handlers::popup_menu),
    command_row(command_id::open_menu_text, "open_menu_text", handlers::popup_menu),
    command_row(command_id::open_menu_program, "open_menu_program", handlers::popup_menu),
    command_row(command_id::open_menu_tool, "open_menu_tool", handlers::popup_menu),
    command_row(command_id::open_menu_setting, "open_menu_setting", handlers::popup_menu),
    command_row(command_id::open_menu_help, "open_menu_help", handlers::popup_menu),

    command_row(command_id::open_file_new, "open_file_new", handlers::open_file_new),
    command_row(command_id::open_file, "open_file", handlers::open_file),
    command_row(command_id::open_console, "open_console", handlers::open_console),
    command_row(command_id::view_file, "view_file", handlers::view_file),
    command_row(command_id::reload_file, "reload_file", handlers::reload_file, command_id::reload_file),
    command_row(command_id::duplicate_file, "duplicate_file", handlers::duplicate_file, command_id::duplicate_file),
    command_row(command_id::open_dual_window, "open_dual_window", handlers::open_dual_window),
    command_row(command_id::change_window, "change_window", handlers::change_window),
    command_row(command_id::change_charset, "change_charset", handlers::change_charset),
    command_row(command_id::change_linefeed, "change_linefeed", handlers::change_linefeed),
    command_row(command_id::save_file, "save_file", handlers::save_file, command_id::save_file),
    command_row(command_id::close_file, "close_file", handlers::close_file, command_id::close_file),
    command_row(command_id::close_file_all, "close_file_all", handlers::close_file_all, command_id::close_file_all),

    command_row(command_id::undo_char, "undo_char", handlers::text_command, command_id::undo_char),
    command_row(command_id::undo_line, "undo_line", handlers::text_command),
    command_row(command_id::change_mode_block, "change_mode_block", handlers::text_command),
    command_row(command_id::push_string, "push_string", handlers::text_command_that_may_ask),
    command_row(command_id::pop_string, "pop_string", handlers::text_command, command_id::pop_string),
    command_row(command_id::push_delete_string, "push_delete_string", handlers::text_command_that_may_ask),
    // Refused exactly when pop_string is.
    command_row(command_id::pop_delete_string, "pop_delete_string", handlers::text_command, command_id::pop_string),
    command_row(command_id::insert_searchstring, "insert_searchstring", handlers::text_command, command_id::insert_searchstring),
    command_row(command_id::insert_clipboard, "insert_clipboard", handlers::text_command),
    command_row(command_id::input_search_replace, "input_search_replace", handlers::input_search_replace),
    command_row(command_id::get_searchstring, "get_searchstring", handlers::get_searchstring),
    command_row(command_id::replace, "replace", handlers::text_command, command_id::replace),
    command_row(command_id::replace_all, "replace_all", handlers::replace_after_question, command_id::replace_all),
    command_row(command_id::replace_backward, "replace_backward", handlers::replace_after_question, command_id::replace_backward),
    command_row(command_id::replace_forward, "replace_forward", handlers::replace_after_question, command_id::replace_forward),
    command_row(command_id::change_wordcase, "change_wordcase", handlers::text_command),
    command_row(command_id::search_backward, "search_backward", handlers::text_command, command_id::search_backward),
    command_row(command_id::search_forward, "search_forward", handlers::text_command, command_id::search_forward),
    command_row(command_id::compare, "compare", handlers::compare, command_id::compare),
    command_row(command_id::jump, "jump", handlers::jump),
    command_row(command_id::mark, "mark", handlers::text_command),
    command_row(command_id::jump_mark, "jump_mark", handlers::text_command),
    command_row(command_id::jump_previousline, "jump_previousline", handlers::text_command),
    command_row(command_id::jump_tag, "jump_tag", handlers::jump_tag),

    command_row(command_id::backward_char, "backward_char", handlers::text_command),
    command_row(command_id::forward_char, "forward_char", handlers::text_command),
    command_row(command_id::backward_word, "backward_word", handlers::text_command),
    command_row(command_id::forward_word, "forward_word", handlers::text_command),
    command_row(command_id::backward_page, "backward_page", handlers::text_command),
    command_row(command_id::forward_page, "forward_page", handlers::text_command),
    command_row(command_id::backward_head, "backward_head", handlers::text_command),
    command_row(command_id::forward_tail, "forward_tail", handlers::text_command),
    command_row(command_id::backward_line, "backward_line", handlers::text_command),
    command_row(command_id::forward_line, "forward_line", handlers::text_command),
    command_row(command_id::backward_line_screen, "backward_line_screen", handlers::text_command),
    command_row(command_id::forward_line_screen, "forward_line_screen", handlers::text_command),
    command_row(command_id::backward_line_page, "backward_line_page", handlers::text_command),
    command_row(command_id::forward_line_page, "forward_line_page", handlers::text_command),
    command_row(command_id::backward_line_head, "backward_line_head", handlers::text_command),
    command_row(command_id::forward_line_tail, "forward_line_tail", handlers::text_command),
    command_row(command_id::change_mode_insert, "change_mode_insert", handlers::change_mode_insert),
    command_row(command_id::insert_string, "insert_string", handlers::insert_string),
    command_row(command_id::insert_tab, "insert_tab", handlers::text_command),
    command_row(command_id::insert_space, "insert_space", handlers::text_command),
    command_row(command_id::insert_linefeed, "insert_linefeed", handlers::insert_linefeed),
    command_row(command_id::insert_line, "insert_line", handlers::text_command),

    command_row(command_id::delete_char, "delete_char", handlers::text_command),
    command_row(command_id::delete_word, "delete_word", handlers::text_command),
    command_row(command_id::delete_tail, "delete_tail", handlers::text_command),
    command_row(command_id::backspace_char, "backspace_char", handlers::text_command),
    command_row(command_id::backspace_word, "backspace_word", handlers::text_command),
    command_row(command_id::backspace_head, "backspace_head", handlers::text_command),

    command_row(command_id::open_url, "open_url", handlers::open_url),

    command_row(command_id::benchmark, "", handlers::benchmark),
    range_row(command_id::charset_shift_jis, command_id::charset_utf_8, handlers::set_charset),
    range_row(command_id::linefeed_crlf, command_id::linefeed_cr, handlers::set_linefeed),
    command_row(command_id::open_settings_file, "", handlers::open_settings_file),
    command_row(command_id::open_manual, "", handlers::open_manual),
    command_row(command_id::version_box, "", handlers::version_box),
    command_row(command_id::hand_over_files, "", handlers::hand_over_files),
    command_row(command_id::hand_over_command, "", handlers::hand_over_command),
    command_row(command_id::append_output, "", handlers::insert_string),
    range_row(command_id::first_text_entry, command_id::last_text_entry, handlers::show_text_entry),
    command_row(command_id::direct_command, "", handlers::direct_command),
    range_row(command_id::first_program_entry, command_id::last_program_entry, handlers::run_program_entry),
    command_row(command_id::new_style, "", handlers::edit_style),
    range_row(command_id::first_style_entry, command_id::last_style_entry, handlers::edit_style),
    command_row(command_id::new_program, "", handlers::edit_program),
    range_row(command_id::first_program_edit, command_id::last_program_edit, handlers::edit_program),
    // clang-format on
};

// The record `id` falls in; null for ids of no command (200 and the gaps).
// Only the window library calls it.
constexpr const command_record* find_command_record(command_id id) {
  for (const command_record& r : command_records)
    if (in_range(id, r.first, r.last)) return &r;
  return nullptr;
}

// The names of the 128 slots: slot i holds the name of id 200 + i, "" for
// unused slots (slot 0 among them), each in a 64-byte field.
constexpr int command_name_size = 64;
using command_name_table = std::array<std::array<char, command_name_size>, command_count>;
extern const command_name_table command_table;

// The index of the command called `name` (compared byte for byte); 0 when the
// name is empty or names no command.
int find_command(std::string_view name);
// The name of a named command's id; "" for any other id.
const char* command_name(command_id id);

}  // namespace vintorel
