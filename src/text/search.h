// Searching for the program's search string forward and backward through a
// text, picking the search string up from the text, and setting both strings
// once the search/replace dialog is confirmed.
#pragma once
#include "platform/byte_string.h"
#include "text/edit_context.h"
#include "text/text_document.h"

namespace vintorel {

// search_forward: the first match starting after the cursor; search_backward:
// the last match starting before it (it may reach past the cursor). A match
// found puts the cursor on its start and centres its line; true then. Nothing
// found leaves the cursor where it was.
bool search_forward(text_document& document, edit_context& context, bool repaint);
bool search_backward(text_document& document, edit_context& context, bool repaint);

// get_searchstring: the run of same-class characters at the cursor becomes the
// search string, or is appended to it when the text at the cursor already
// begins with it.
void get_search_string(text_document& document, edit_context& context);

// insert_searchstring: the search string typed in at the cursor.
void insert_search_string(text_document& document, edit_context& context);

// The copy of a string the search/replace dialog edits: at most 255 bytes,
// never half a character.
byte_string cut_for_dialog(const byte_string& text);
// input_search_replace after the dialog's OK: both strings take its values and
// both panes are repainted with the new highlights.
void set_search_replace(text_document& document, edit_context& context,
                        const byte_string& search_string, const byte_string& replace_string);

}  // namespace vintorel
