// The two narrow undo commands: taking back deleted characters one by one, and
// throwing away the edits of the cursor line since the cursor came to it.
#pragma once
#include "text/edit_context.h"
#include "text/text_document.h"

namespace vintorel {

// Inserts the last recorded character at the cursor (of whatever text is
// current) and drops it from the buffer.
void undo_char(text_document& document, edit_context& context);
// Reloads the cursor line from the line index and puts the cursor at column 0.
void undo_line(text_document& document, edit_context& context);

}  // namespace vintorel
