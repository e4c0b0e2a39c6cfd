// Keeps a block selection's direction up to date as the cursor moves.
#include "text/block_direction.h"

namespace vintorel {

void update_block_direction(text_document& document) {
  if (document.block_state == block_kind::none) return;
  bool after = document.current_line > document.anchor_line ||
               (document.current_line == document.anchor_line &&
                document.position > document.anchor_position);
  bool before = document.current_line < document.anchor_line ||
                (document.current_line == document.anchor_line &&
                 document.position < document.anchor_position);
  // On the anchor itself the direction keeps its value.
  if (document.block_backward && after) document.block_backward = false;
  if (!document.block_backward && before) document.block_backward = true;
  if (document.current_line == document.anchor_line) document.block_state = block_kind::characters;
}

}  // namespace vintorel
