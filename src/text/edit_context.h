// What a text-model operation needs besides the text itself: the pane it is shown
// in, the display to make requests of, the program-wide settings and buffers,
// and the user to ask. The window builds one per pane; tests build their own.
#pragma once
#include "platform/user_interface.h"
#include "text/display_requests.h"

namespace vintorel {

struct deleted_char_buffer;  // text/deleted_chars.h
struct string_stack;         // program-wide string stack (block and clipboard code)
struct search_strings;       // program-wide search and replacement strings

// The values of the main settings file that the text model reads, named after
// their keys. Whoever fills them applies the settings' lower limits.
struct text_settings {
  int tab_size = 8;          // "tab size": for texts no extension style matches
  int buffer_delete = 1024;  // "buffer delete": capacity of the deleted-character buffer
  int buffer_block = 256;    // "buffer block": capacity of the string stack in entries
  bool ignore_case = false;  // "ignore case"
  bool word_search = true;   // "word search"
};

struct edit_context {
  pane_view pane;                          // geometry, tab size and auto indent
  display_requests* display = nullptr;     // null: nothing is painted
  user_interface* ui = nullptr;            // null: every question is cancelled
  deleted_char_buffer* deleted = nullptr;  // null: deletions are not recorded
  string_stack* stack = nullptr;
  search_strings* search = nullptr;
  text_settings settings;
  bool overwrite_mode = false;             // the program-wide edit mode; false is insert

  display_requests& screen() const {
    static null_display nothing;  // stateless, so one instance serves everyone
    return display ? *display : nothing;
  }
  user_interface& user() const {
    static null_user_interface nobody;
    return ui ? *ui : nobody;
  }
  int tab_size() const { return pane.tab(); }
};

}  // namespace vintorel
