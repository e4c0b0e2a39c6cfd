// The cursor held twice, as a byte offset in the current-line buffer and as a
// display column, and the rules that keep it inside the visible part of a pane.
#pragma once
#include <cstdint>

#include "text/edit_context.h"
#include "text/text_document.h"

namespace vintorel {

// All of these read the current-line buffer and return 0 (or false) without one.

// Display column at which the character at byte offset `p` starts (the column
// after it when `p` is its second byte).
std::int32_t column_of_position(const text_document& document, const edit_context& context,
                                std::int32_t p);
// Byte offset of the first character starting at or after column `col`, or of
// the terminator.
std::int32_t position_of_column(const text_document& document, const edit_context& context,
                                std::int32_t col);
// Byte offset of the current line's terminator (its CR, or the end mark).
std::int32_t terminator_offset(const text_document& document);
// Sets end_column to the terminator's column and returns it.
std::int32_t update_end_column(text_document& document, const edit_context& context);
// Whether the character at `position` is double-byte.
bool is_on_double_byte(const text_document& document);
// Byte length of the run of same-class characters starting at `p`; 0 at the
// terminator.
std::int32_t word_length_at(const text_document& document, std::int32_t p);
// Byte length of the run of same-class characters ending at `position`.
std::int32_t word_length_before(const text_document& document);

// Sets left_column so that the cursor column is visible; a double-byte
// character never starts in the last visible column.
void scroll_to_cursor(text_document& document, const edit_context& context, bool on_double_byte);
// Whether the cursor column lies inside the visible columns (a double-byte
// character in the last visible column does not count).
bool is_cursor_visible(const text_document& document, const edit_context& context);

// Screen cell of the cursor, and of another column on the cursor row.
std::int32_t cursor_row(const text_document& document, const edit_context& context);
std::int32_t cell_column(const text_document& document, const edit_context& context,
                         std::int32_t column);

// The redraw after a motion within the line: the whole pane when
// `full_repaint`, else erase the cursor at `old_column`, paint the cursor line
// and the status line; then draw the cursor.
void refresh_after_move(text_document& document, edit_context& context, std::int32_t old_column,
                        bool full_repaint);
// repaint_pane followed by draw_cursor: the redraw after a scroll.
void repaint_with_cursor(text_document& document, edit_context& context);

// load_current_line with the pane's tab size, then end_column; every motion to
// another line goes through it.
bool reload_current_line(text_document& document, const edit_context& context);

}  // namespace vintorel
