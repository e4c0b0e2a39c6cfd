// Comparing the texts of the two panes from their cursors to the first
// difference.
#pragma once
#include "text/edit_context.h"
#include "text/text_document.h"

namespace vintorel {

// compare: `a` is the text of the current pane, `b` that of the other, each
// with its own pane (geometry and tab size) and display. Characters compare as
// bytes in the internal form, so line ends always agree.
//
// True when the texts agree from the cursors to their ends (both cursors are
// put back) or the comparison could not be carried out; the caller then tells
// the user. False when a difference was found: both cursors stand on it, both
// panes repainted; also false when `a` has no cursor line.
bool compare_texts(text_document& a, edit_context& a_context, text_document& b,
                   edit_context& b_context);

}  // namespace vintorel
