// Putting the cursor at a byte offset of a line, and committing the cursor line
// while keeping the cursor where it stands. Neither touches the screen nor the
// scroll position.
#pragma once
#include <cstdint>

#include "text/edit_context.h"
#include "text/text_document.h"

namespace vintorel {

// Commits the cursor line and loads it again, so that fetched lines include its
// edits; the cursor keeps its offset (and desired_column its value) rather than
// being placed anew by desired_column. Without a buffer the line is loaded by
// desired_column. False when the line cannot be loaded.
bool commit_and_reload(text_document& document, const edit_context& context);

// Commits the cursor line, loads `line` and puts the cursor at byte `offset`
// (held to the terminator and to a character start); desired_column follows.
bool place_cursor_at(text_document& document, const edit_context& context, std::int32_t line,
                     std::int32_t offset);

}  // namespace vintorel
