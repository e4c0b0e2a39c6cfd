// Inserting the clipboard's plain text at the cursor.
#pragma once
#include "text/edit_context.h"
#include "text/text_document.h"

namespace vintorel {

// insert_clipboard: each line of the clipboard text (CR LF, CR or LF ends a
// line) goes in at the cursor, the cursor behind the inserted text.
void insert_clipboard(text_document& document, edit_context& context);

}  // namespace vintorel
