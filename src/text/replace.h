// Replacing matches of the search string by the replacement string: at the
// cursor, and in bulk over the whole text, after or before the cursor, or in
// the block.
//
// A replacement holding a line end or the end mark, or ending in half a
// character, would break the line apart and is never made.
#pragma once
#include <cstdint>

#include "text/edit_context.h"
#include "text/text_document.h"

namespace vintorel {

// replace: when a match starts at the cursor, it is replaced; the cursor stays
// at the start of the replacement. True when something was replaced.
bool replace_at_cursor(text_document& document, edit_context& context, bool repaint);

// The bulk replacements work left to right, each match judged against the text
// as replaced so far and the scan going on right behind each replacement, so a
// replacement is never searched again. They return the number of replacements,
// repaint once at the end and put the cursor back.

// replace_all without a block: the whole text.
std::int64_t replace_all(text_document& document, edit_context& context);
// replace_forward: matches starting after the cursor; only without a block.
std::int64_t replace_forward(text_document& document, edit_context& context);
// replace_backward: matches starting before the cursor; only without a block.
std::int64_t replace_backward(text_document& document, edit_context& context);
// replace_all with a block: matches lying wholly in the block, which stays
// selected over the replaced text.
std::int64_t replace_in_block(text_document& document, edit_context& context);

}  // namespace vintorel
