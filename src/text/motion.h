// The cursor motion commands. Motions within a line move position and column;
// motions to another line commit the current-line buffer and load the target
// line, placing the cursor by desired_column. With `repaint` false the screen
// is not touched. Each does nothing when the text has no current-line buffer.
#pragma once
#include <cstdint>

#include "text/edit_context.h"
#include "text/text_document.h"

namespace vintorel {

void backward_char(text_document& document, edit_context& context, bool repaint);
void forward_char(text_document& document, edit_context& context, bool repaint);
void backward_word(text_document& document, edit_context& context);
void forward_word(text_document& document, edit_context& context);
void backward_page(text_document& document, edit_context& context);
void forward_page(text_document& document, edit_context& context);
void backward_head(text_document& document, edit_context& context, bool repaint);
void forward_tail(text_document& document, edit_context& context, bool repaint);
// `to_lines` makes a character block line-wise, `to_characters` a line block
// character-wise (the command passes true, false).
void backward_line(text_document& document, edit_context& context, bool repaint, bool to_lines,
                   bool to_characters);
void forward_line(text_document& document, edit_context& context, bool repaint, bool to_lines,
                  bool to_characters);
void backward_line_screen(text_document& document, edit_context& context);
void forward_line_screen(text_document& document, edit_context& context);
void backward_line_page(text_document& document, edit_context& context);
void forward_line_page(text_document& document, edit_context& context);
void backward_line_head(text_document& document, edit_context& context, bool repaint);
void forward_line_tail(text_document& document, edit_context& context, bool repaint);
// insert_tab in overwrite mode: to the next tab stop.
void next_tab_stop(text_document& document, edit_context& context);

// The general jump: to `line` (the last line when beyond it), aiming at column
// `desired`, with `top` as top_line (-1 centres the line).
void go_to_position(text_document& document, edit_context& context, std::int32_t line,
                    std::int32_t desired, std::int32_t top, bool repaint);

// jump, once the jump dialog has chosen a line.
void jump(text_document& document, edit_context& context, std::int32_t chosen_line);
void mark(text_document& document);
void jump_mark(text_document& document, edit_context& context);
void jump_previousline(text_document& document, edit_context& context);

}  // namespace vintorel
