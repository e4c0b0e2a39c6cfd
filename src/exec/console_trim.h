// The console's line limit: after a command, a console of more than `limit`
// lines keeps only its last 3 x (limit / 4).
#pragma once
#include "text/edit_context.h"
#include "text/text_document.h"

namespace vintorel {

// Removes the first lines of `console` so that 3 x (limit / 4) remain when it
// has more than `limit` (with fewer than 4 as the limit, one empty line
// remains). The lines go in one step, not one by one, so a console that
// received a million lines is trimmed at once. The cursor ends on the last
// line; nothing is painted. True when lines were removed.
bool trim_console(text_document& console, edit_context& context, int limit);

}  // namespace vintorel
