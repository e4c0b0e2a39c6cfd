// Keeps a block selection's direction (is the cursor before its anchor?) up to
// date as the cursor moves; on the anchor line the block is character-wise.
#pragma once
#include "text/text_document.h"

namespace vintorel {

void update_block_direction(text_document& document);

}  // namespace vintorel
