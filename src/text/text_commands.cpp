// The table of text commands: each calls its operation with the flags command
// dispatch uses (repaint, advance the cursor, keep the block's kind).
#include "text/text_commands.h"

#include "text/block.h"
#include "text/clipboard.h"
#include "text/editing.h"
#include "text/motion.h"
#include "text/replace.h"
#include "text/search.h"
#include "text/string_stack.h"
#include "text/undo.h"

namespace vintorel {

namespace {

using d_ = text_document;
using c_ = edit_context;
using a_ = const byte_string;

constexpr text_command table[] = {
    {"undo_char", [](d_& d, c_& c, a_&) { undo_char(d, c); }},
    {"undo_line", [](d_& d, c_& c, a_&) { undo_line(d, c); }},
    {"change_mode_block", [](d_& d, c_& c, a_&) { toggle_block(d, c); }},
    {"push_string", [](d_& d, c_& c, a_&) { push_string(d, c, false); }},
    {"pop_string", [](d_& d, c_& c, a_&) { pop_string(d, c, false); }},
    {"push_delete_string", [](d_& d, c_& c, a_&) { push_string(d, c, true); }},
    {"pop_delete_string", [](d_& d, c_& c, a_&) { pop_string(d, c, true); }},
    {"insert_searchstring", [](d_& d, c_& c, a_&) { insert_search_string(d, c); }},
    {"insert_clipboard", [](d_& d, c_& c, a_&) { insert_clipboard(d, c); }},
    {"get_searchstring", [](d_& d, c_& c, a_&) { get_search_string(d, c); }},
    {"replace", [](d_& d, c_& c, a_&) { replace_at_cursor(d, c, true); }},
    // Within the block when there is one, else in the whole text.
    {"replace_all",
     [](d_& d, c_& c, a_&) {
       if (d.block_state != block_kind::none)
         replace_in_block(d, c);
       else
         replace_all(d, c);
     }},
    {"replace_backward", [](d_& d, c_& c, a_&) { replace_backward(d, c); }},
    {"replace_forward", [](d_& d, c_& c, a_&) { replace_forward(d, c); }},
    {"change_wordcase", [](d_& d, c_& c, a_&) { change_word_case(d, c); }},
    {"search_backward", [](d_& d, c_& c, a_&) { search_backward(d, c, true); }},
    {"search_forward", [](d_& d, c_& c, a_&) { search_forward(d, c, true); }},
    {"mark", [](d_& d, c_&, a_&) { mark(d); }},
    {"jump_mark", [](d_& d, c_& c, a_&) { jump_mark(d, c); }},
    {"jump_previousline", [](d_& d, c_& c, a_&) { jump_previousline(d, c); }},
    {"backward_char", [](d_& d, c_& c, a_&) { backward_char(d, c, true); }},
    {"forward_char", [](d_& d, c_& c, a_&) { forward_char(d, c, true); }},
    {"backward_word", [](d_& d, c_& c, a_&) { backward_word(d, c); }},
    {"forward_word", [](d_& d, c_& c, a_&) { forward_word(d, c); }},
    {"backward_page", [](d_& d, c_& c, a_&) { backward_page(d, c); }},
    {"forward_page", [](d_& d, c_& c, a_&) { forward_page(d, c); }},
    {"backward_head", [](d_& d, c_& c, a_&) { backward_head(d, c, true); }},
    {"forward_tail", [](d_& d, c_& c, a_&) { forward_tail(d, c, true); }},
    {"backward_line", [](d_& d, c_& c, a_&) { backward_line(d, c, true, true, false); }},
    {"forward_line", [](d_& d, c_& c, a_&) { forward_line(d, c, true, true, false); }},
    {"backward_line_screen", [](d_& d, c_& c, a_&) { backward_line_screen(d, c); }},
    {"forward_line_screen", [](d_& d, c_& c, a_&) { forward_line_screen(d, c); }},
    {"backward_line_page", [](d_& d, c_& c, a_&) { backward_line_page(d, c); }},
    {"forward_line_page", [](d_& d, c_& c, a_&) { forward_line_page(d, c); }},
    {"backward_line_head", [](d_& d, c_& c, a_&) { backward_line_head(d, c, true); }},
    {"forward_line_tail", [](d_& d, c_& c, a_&) { forward_line_tail(d, c, true); }},
    {"insert_string", [](d_& d, c_& c, a_& text) { insert_string(d, c, text, true, true, false); }},
    {"insert_tab", [](d_& d, c_& c, a_&) { insert_tab(d, c); }},
    {"insert_space", [](d_& d, c_& c, a_&) { insert_space(d, c); }},
    {"insert_linefeed", [](d_& d, c_& c, a_&) { insert_linefeed(d, c, true, true, false, c.pane.auto_indent); }},
    {"insert_line", [](d_& d, c_& c, a_&) { insert_line(d, c, true); }},
    {"delete_char", [](d_& d, c_& c, a_&) { delete_char(d, c, true, true, false); }},
    {"delete_word", [](d_& d, c_& c, a_&) { delete_word(d, c); }},
    {"delete_tail", [](d_& d, c_& c, a_&) { delete_tail(d, c, true, true); }},
    {"backspace_char", [](d_& d, c_& c, a_&) { backspace_char(d, c, true, true); }},
    {"backspace_word", [](d_& d, c_& c, a_&) { backspace_word(d, c); }},
    {"backspace_head", [](d_& d, c_& c, a_&) { backspace_head(d, c, true, true); }},
};

}  // namespace

std::span<const text_command> text_commands() { return table; }

const text_command* find_text_command(std::string_view name) {
  for (const text_command& command : table)
    if (name == command.name) return &command;
  return nullptr;
}

}  // namespace vintorel
