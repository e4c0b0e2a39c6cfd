// Searching forward and backward, and picking up the search string.
#include "text/search.h"

#include <algorithm>
#include <string_view>

#include "text/block_direction.h"
#include "text/block_search.h"
#include "text/char_class.h"
#include "text/cursor_place.h"
#include "text/editing.h"
#include "text/positions.h"
#include "text/search_pattern.h"
#include "text/search_strings.h"

namespace vintorel {

namespace {

constexpr std::size_t npos = std::string_view::npos;

// The cursor onto a match, its line centred in the pane.
bool place_on_match(text_document& document, edit_context& context, std::int32_t line,
                    std::size_t offset, bool repaint) {
  document.commit_current_line();
  document.current_line = line;
  if (!reload_current_line(document, context)) {
    if (repaint) context.screen().repaint_pane(context.pane, document);
    return false;
  }
  std::int32_t rows = context.pane.visible_rows();
  document.top_line = std::clamp(line - rows / 2, 0, std::max(0, document.line_count() - rows));
  document.position = static_cast<std::int32_t>(offset);
  document.column = document.desired_column =
      column_of_position(document, context, document.position);
  scroll_to_cursor(document, context, is_on_double_byte(document));
  update_block_direction(document);
  if (repaint) repaint_with_cursor(document, context);
  return true;
}

}  // namespace

bool search_forward(text_document& document, edit_context& context, bool repaint) {
  if (!document.current) return false;
  if (!commit_and_reload(document, context)) return false;
  search_pattern pattern = prepare_pattern(context);
  if (!pattern.usable) return false;
  std::size_t found = first_match_in_line(document.current->text, static_cast<std::size_t>(document.position) + 1, pattern);
  if (found != npos) return place_on_match(document, context, document.current_line, found, repaint);
  line_match match = first_match_in_lines(document, pattern, document.current_line + 1, document.line_count());
  if (match.line < 0) return false;
  return place_on_match(document, context, match.line, match.offset, repaint);
}

bool search_backward(text_document& document, edit_context& context, bool repaint) {
  if (!document.current) return false;
  if (!commit_and_reload(document, context)) return false;
  search_pattern pattern = prepare_pattern(context);
  if (!pattern.usable) return false;
  std::size_t found = last_match_in_line(document.current->text, static_cast<std::size_t>(document.position), pattern);
  if (found != npos) return place_on_match(document, context, document.current_line, found, repaint);
  line_match match = last_match_in_lines(document, pattern, document.current_line - 1, 0);
  if (match.line < 0) return false;
  return place_on_match(document, context, match.line, match.offset, repaint);
}

void get_search_string(text_document& document, edit_context& context) {
  if (!document.current || !context.search) return;
  byte_string& search = context.search->search_string;
  const byte_string& text = document.current->text;
  std::size_t at = static_cast<std::size_t>(std::max(document.position, 0));
  if (at > text.size()) return;
  auto byte_at = [&](std::size_t offset) {
    return offset < text.size() ? static_cast<unsigned char>(text[offset]) : end_mark;
  };
  if (!search.empty() && text.compare(at, search.size(), search) == 0) {
    // The string grows by the run behind it.
    std::size_t behind = at + search.size();
    if (byte_at(behind) == tab_byte) return;
    std::int32_t run = word_length_at(document, static_cast<std::int32_t>(behind));
    if (run <= 0) return;
    search.append(text, behind, static_cast<std::size_t>(run));
  } else {
    if (byte_at(at) == tab_byte) return;
    std::int32_t run = word_length_at(document, document.position);
    if (run <= 0) return;
    search.assign(text, at, static_cast<std::size_t>(run));
  }
  display_requests& screen = context.screen();
  screen.repaint_pane(context.pane, document);
  screen.repaint_other_pane();
  screen.draw_cursor(context.pane, cursor_row(document, context),
                     cell_column(document, context, document.column));
}

void insert_search_string(text_document& document, edit_context& context) {
  if (!context.search || context.search->search_string.empty()) return;
  // A line end or the end mark in the string would break the line apart.
  byte_string text;
  for (char c : context.search->search_string)
    if (c != '\r' && c != '\n' && c != static_cast<char>(end_mark)) text.push_back(c);
  insert_string(document, context, text, true, true, false);
}

byte_string cut_for_dialog(const byte_string& text) {
  constexpr std::size_t most = 255;
  if (text.size() <= most) return text;
  std::size_t cut = most;
  if (is_trail_byte(text.c_str(), text.c_str() + cut)) --cut;
  return text.substr(0, cut);
}

void set_search_replace(text_document& document, edit_context& context,
                        const byte_string& search_string, const byte_string& replace_string) {
  if (!context.search) return;
  context.search->search_string = search_string;
  context.search->replace_string = replace_string;
  display_requests& screen = context.screen();
  screen.repaint_pane(context.pane, document);
  screen.repaint_other_pane();
  if (document.current)
    screen.draw_cursor(context.pane, cursor_row(document, context),
                       cell_column(document, context, document.column));
  screen.update_menus();
}

}  // namespace vintorel
