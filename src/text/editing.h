// The editing commands: inserting strings and line ends, deleting and
// backspacing, flipping the case of a word, and the line split and join under
// them. Each needs a current-line buffer, no block selection and a text that is
// not read-only, and otherwise does nothing.
//
// Parameters: `repaint` touch the screen; `advance` put the cursor behind the
// inserted text; `force_insert` insert even in overwrite mode; `move_to_next`
// put the cursor on the new line after a split; `auto_indent` apply automatic
// indent; `record` save deleted characters for undo_char; `from_backspace` the
// deletion belongs to a backspace.
#pragma once
#include "platform/byte_string.h"
#include "text/edit_context.h"
#include "text/text_document.h"

namespace vintorel {

// Whether editing commands may change the text now.
bool can_edit(const text_document& document);

void insert_string(text_document& document, edit_context& context, const byte_string& text,
                   bool repaint, bool advance, bool force_insert);
// insert_tab: a TAB in insert mode, a move to the next tab stop in overwrite mode.
void insert_tab(text_document& document, edit_context& context);
void insert_space(text_document& document, edit_context& context);
void insert_linefeed(text_document& document, edit_context& context, bool repaint,
                     bool move_to_next, bool force_insert, bool auto_indent);
// An empty line above the cursor line, the cursor on it.
void insert_line(text_document& document, edit_context& context, bool repaint);

// Splits the current line at the cursor (the rest goes to a new line below) and
// reloads it; false with the text unchanged when memory runs out.
bool split_line(text_document& document, edit_context& context);
// Appends the next line to the current line at the cursor, which stands on its
// terminator, and reloads it; false with the text unchanged when the next line
// cannot be fetched.
bool join_line(text_document& document, edit_context& context);

void delete_char(text_document& document, edit_context& context, bool repaint, bool record,
                 bool from_backspace);
void delete_word(text_document& document, edit_context& context);
void delete_tail(text_document& document, edit_context& context, bool repaint, bool record);
void backspace_char(text_document& document, edit_context& context, bool repaint, bool record);
void backspace_word(text_document& document, edit_context& context);
void backspace_head(text_document& document, edit_context& context, bool repaint, bool record);
void change_word_case(text_document& document, edit_context& context);

}  // namespace vintorel
