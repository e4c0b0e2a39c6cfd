// The handlers the command table names. They live in src/app, split by area
// (dispatch_application, dispatch_files, dispatch_layout, dispatch_editing,
// dispatch_strings, dispatch_saving, dispatch_settings, dispatch_programs,
// dispatch_tools) and work on the main window.
#pragma once
#include <cstdint>

#include "shell/command_id.h"

namespace vintorel {

class window_;

// Runs command `id` with its parameter (a string pointer for insert_string and
// append_output, the read-only flag for hand_over_files, otherwise 0).
using command_handler = void (*)(window_& window, command_id id, std::intptr_t parameter);

namespace handlers {

// dispatch_application.cpp
void quit(window_& w, command_id id, std::intptr_t parameter);
void popup_menu(window_& w, command_id id, std::intptr_t parameter);
void version_box(window_& w, command_id id, std::intptr_t parameter);

// dispatch_files.cpp
void open_file_new(window_& w, command_id id, std::intptr_t parameter);
void open_file(window_& w, command_id id, std::intptr_t parameter);
void view_file(window_& w, command_id id, std::intptr_t parameter);
void close_file(window_& w, command_id id, std::intptr_t parameter);
void close_file_all(window_& w, command_id id, std::intptr_t parameter);
void open_settings_file(window_& w, command_id id, std::intptr_t parameter);
void open_manual(window_& w, command_id id, std::intptr_t parameter);
void hand_over_files(window_& w, command_id id, std::intptr_t parameter);
void hand_over_command(window_& w, command_id id, std::intptr_t parameter);

// dispatch_saving.cpp
void reload_file(window_& w, command_id id, std::intptr_t parameter);
void save_file(window_& w, command_id id, std::intptr_t parameter);
void duplicate_file(window_& w, command_id id, std::intptr_t parameter);

// dispatch_layout.cpp
void open_console(window_& w, command_id id, std::intptr_t parameter);
void open_dual_window(window_& w, command_id id, std::intptr_t parameter);
void change_window(window_& w, command_id id, std::intptr_t parameter);
void show_text_entry(window_& w, command_id id, std::intptr_t parameter);
void change_charset(window_& w, command_id id, std::intptr_t parameter);
void change_linefeed(window_& w, command_id id, std::intptr_t parameter);
void set_charset(window_& w, command_id id, std::intptr_t parameter);
void set_linefeed(window_& w, command_id id, std::intptr_t parameter);

// dispatch_editing.cpp
void text_command(window_& w, command_id id, std::intptr_t parameter);
void text_command_that_may_ask(window_& w, command_id id, std::intptr_t parameter);
void insert_string(window_& w, command_id id, std::intptr_t parameter);
void insert_linefeed(window_& w, command_id id, std::intptr_t parameter);
void change_mode_insert(window_& w, command_id id, std::intptr_t parameter);

// dispatch_strings.cpp
void input_search_replace(window_& w, command_id id, std::intptr_t parameter);
void get_searchstring(window_& w, command_id id, std::intptr_t parameter);
void replace_after_question(window_& w, command_id id, std::intptr_t parameter);
void compare(window_& w, command_id id, std::intptr_t parameter);
void jump(window_& w, command_id id, std::intptr_t parameter);

// dispatch_settings.cpp
void edit_style(window_& w, command_id id, std::intptr_t parameter);
void edit_program(window_& w, command_id id, std::intptr_t parameter);

// dispatch_programs.cpp
void direct_command(window_& w, command_id id, std::intptr_t parameter);
void run_program_entry(window_& w, command_id id, std::intptr_t parameter);

// dispatch_tools.cpp
void jump_tag(window_& w, command_id id, std::intptr_t parameter);
void open_url(window_& w, command_id id, std::intptr_t parameter);
void benchmark(window_& w, command_id id, std::intptr_t parameter);

}  // namespace handlers
}  // namespace vintorel
