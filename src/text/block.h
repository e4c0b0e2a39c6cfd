// Block selection: switching it on and off, which text it covers, and deleting
// that text; deleting the cursor line with its line end.
#pragma once
#include <cstdint>

#include "text/edit_context.h"
#include "text/text_document.h"

namespace vintorel {

// The text a block covers. Whole lines: lines first_line up to but not
// including last_line (the offsets are 0). Characters: from (first_line,
// first_offset) up to but not including (last_line, last_offset).
struct block_extent {
  bool whole_lines = false;
  std::int32_t first_line = 0;
  std::int32_t first_offset = 0;
  std::int32_t last_line = 0;
  std::int32_t last_offset = 0;
};

// The extent of the document's block from the anchor and the cursor; only
// meaningful while a block is on.
block_extent get_block_extent(const text_document& document);

// change_mode_block: switches a character block on at the cursor (nothing is
// painted, the block is still empty), or switches the block off and repaints.
void toggle_block(text_document& document, edit_context& context);

// Deletes the cursor line with its line end; on the last line empties it in
// front of the end mark. Not recorded for undo_char.
void delete_line(text_document& document, edit_context& context, bool repaint);

// Switches the block off and deletes its text, not recorded for undo_char; the
// cursor ends at the start of the deleted range.
void delete_block(text_document& document, edit_context& context);

}  // namespace vintorel
