// Painting text lines and whole panes: colours for search hits, keywords and
// the block, marks for control characters, tabs, line ends and the end mark.
#include <algorithm>

#include "display/painter.h"
#include "display/keyword_match.h"
#include "display/status_line.h"
#include "platform/cp932.h"
#include "text/char_class.h"
#include "text/search_pattern.h"
#include "text/text_document.h"

namespace vintorel {

namespace {

constexpr unsigned full_width_space = 0x8140;
constexpr unsigned full_width_space_mark = 0x81A0;
constexpr unsigned char tab_mark = 30;
constexpr unsigned char linefeed_mark = 7;
constexpr unsigned char end_of_file_mark = 31;

// Which bytes of one line lie in the document's block.
struct block_span {
  bool whole_line = false;  // line block: every byte
  bool any = false;         // character block touching this line
  std::size_t from = 0;     // character block: [from, to)
  std::size_t to = 0;
};

block_span block_on_line(const text_document& doc, std::int32_t line) {
  block_span span;
  if (doc.block_state == block_kind::lines) {
    std::int32_t first = std::min(doc.anchor_line, doc.current_line);
    std::int32_t last = std::max(doc.anchor_line, doc.current_line);
    span.whole_line = line >= first && line < last;
  } else if (doc.block_state == block_kind::characters) {
    // block_backward: the cursor lies before the anchor.
    std::int32_t early_line = doc.block_backward ? doc.current_line : doc.anchor_line;
    std::int32_t early_pos = doc.block_backward ? doc.position : doc.anchor_position;
    std::int32_t late_line = doc.block_backward ? doc.anchor_line : doc.current_line;
    std::int32_t late_pos = doc.block_backward ? doc.anchor_position : doc.position;
    if (line > early_line && line < late_line) {
      span.whole_line = true;
    } else if (line == early_line || line == late_line) {
      span.any = true;
      span.from = line == early_line ? static_cast<std::size_t>(std::max(early_pos, 0)) : 0;
      span.to = line == late_line ? static_cast<std::size_t>(std::max(late_pos, 0)) : SIZE_MAX;
    }
  }
  return span;
}

bool in_block(const block_span& span, std::size_t offset) {
  return span.whole_line || (span.any && offset >= span.from && offset < span.to);
}

const byte_string& empty_bytes() {
  static const byte_string nothing;
  return nothing;
}

}  // namespace

pane_view pane_of(const display_context& display, int index) {
  const pane_layout& l = display.layout;
  index = index == 1 ? 1 : 0;
  pane_view pane;
  pane.first_row = l.pane_first_row[index];
  pane.first_column = l.pane_first_column[index];
  pane.rows = l.pane_rows;
  pane.columns = l.pane_columns;
  pane.tab_size = display.pane_styles[index].tab_size;
  return pane;
}

pane_view current_pane(const display_context& display) { return pane_of(display, display.layout.current_pane); }

const byte_string& keywords_of(const display_context& display, const pane_view& pane) {
  const pane_layout& l = display.layout;
  for (int i = 0; i < 2; ++i) {
    if (l.pane_first_row[i] == pane.first_row && l.pane_first_column[i] == pane.first_column)
      return display.pane_styles[i].keywords;
  }
  return empty_bytes();
}

void paint_line(display_context& display, const pane_view& pane, text_document& document, std::int32_t line) {
  const std::int32_t relative = line - document.top_line;
  if (relative < 0 || relative >= pane.rows) return;
  const int row = pane.first_row + relative;
  const int columns = pane.columns;
  const palette& colours = display.colours;
  const display_switches& sw = display.switches;

  // The same matching rules as searching; an empty or unusable pattern
  // highlights nothing.
  search_pattern pattern;
  if (display.search_string) pattern = prepare_pattern(*display.search_string, sw.ignore_case, sw.word_search);

  byte_string fetched;
  const byte_string* bytes = nullptr;
  if (line == document.current_line && document.current) {
    bytes = &document.current->text;
  } else {
    if (!document.fetch_line(line, fetched)) return;
    bytes = &fetched;
  }
  const byte_string& text = *bytes;
  const byte_string& keywords = keywords_of(display, pane);

  const block_span block = block_on_line(document, line);
  const colour row_background = block.whole_line && document.block_state == block_kind::lines ? colours[back_select]
                                                                              : colours[back_normal];
  fill_cells(display, row, pane.first_column, 1, columns, row_background);

  const int tab = pane.tab();
  std::int64_t hit_left = 0;
  std::int64_t keyword_left = 0;
  std::int64_t k = -static_cast<std::int64_t>(document.left_column);
  std::size_t i = 0;
  while (k < columns && i < text.size()) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    if (pattern.usable && hit_left <= 0 && matches_at(text, i, pattern))
      hit_left = static_cast<std::int64_t>(pattern.n);
    if (keyword_left <= 0 && !keywords.empty() &&
        (i == 0 || !is_word_byte(static_cast<unsigned char>(text[i - 1])) || !is_word_byte(b)))
      keyword_left = static_cast<std::int64_t>(keyword_at(keywords, text, i));

    colour fg = hit_left > 0 ? colours[text_search] : keyword_left > 0 ? colours[text_keyword] : colours[text_normal];
    const colour bg = in_block(block, i) ? colours[back_select] : colours[back_normal];
    const int cell = pane.first_column + static_cast<int>(k);

    if (is_lead_byte(b) && i + 1 < text.size() && pairs_with_lead(static_cast<unsigned char>(text[i + 1]))) {
      // A double-byte character is never split at the right edge, and one
      // whose first cell is scrolled off the left is not drawn at all.
      if (k + 1 == columns) break;
      if (k >= 0) {
        unsigned code = (b << 8) | static_cast<unsigned char>(text[i + 1]);
        if (code == full_width_space && sw.view_mb_space) {
          code = full_width_space_mark;
          if (fg == colours[text_normal]) fg = colours[text_special];
        }
        draw_glyph(display, row, cell, code, fg, bg);
      }
      i += 2;
      k += 2;
      hit_left -= 2;
      keyword_left -= 2;
      continue;
    }

    if (b == '\r') {  // takes no cell
      i += 1;
      hit_left -= 1;
      keyword_left -= 1;
      continue;
    }
    if (k >= 0) {
      if (b == '\t')
        sw.view_tab ? draw_glyph(display, row, cell, tab_mark, colours[text_special], bg)
                    : draw_glyph(display, row, cell, ' ', fg, bg);
      else if (b == '\n')
        sw.view_linefeed ? draw_glyph(display, row, cell, linefeed_mark, colours[text_special], bg)
                         : draw_glyph(display, row, cell, ' ', fg, bg);
      else if (b == end_mark)
        sw.view_eof ? draw_glyph(display, row, cell, end_of_file_mark, colours[text_special], bg)
                    : draw_glyph(display, row, cell, ' ', fg, bg);
      else if (b < 0x20)
        draw_glyph(display, row, cell, b + 0x40, colours[text_special], bg);
      else
        draw_glyph(display, row, cell, b, fg, bg);
    }
    if (b == '\t') {
      const std::int64_t p = document.left_column + k;
      const std::int64_t extra = tab - (p % tab) - 1;
      if (bg == colours[back_select]) {
        for (std::int64_t e = k + 1; e <= k + extra; ++e)
          if (e >= 0 && e < columns) fill_cells(display, row, pane.first_column + static_cast<int>(e), 1, 1, bg);
      }
      k += extra;
    }
    i += 1;
    k += 1;
    hit_left -= 1;
    keyword_left -= 1;
  }
}

void repaint_pane(display_context& display, const pane_view& pane, text_document& document) {
  fill_cells(display, pane.first_row + 1, pane.first_column, pane.rows - 1, pane.columns,
             display.colours[back_normal]);
  const std::int32_t count = std::min(document.line_count(), pane.rows);
  for (std::int32_t n = 0; n < count; ++n) paint_line(display, pane, document, document.top_line + n);
  draw_status_line(display, pane, document);
}

void draw_composition(display_context& display, const pane_view& pane, int row, int column, std::string_view text,
                      std::string_view attributes, int cursor_offset) {
  const int first = pane.first_column;
  const int last = pane.first_column + pane.columns - 1;
  int c = column;
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    const bool wide = is_lead_byte(b) && i + 1 < text.size() && pairs_with_lead(static_cast<unsigned char>(text[i + 1]));
    if (c > last || (wide && c == last)) c = first;
    const unsigned char attribute = i < attributes.size() ? static_cast<unsigned char>(attributes[i]) : 0;
    colour bg = attribute == 1 || attribute == 3              ? display.colours[back_select]
                : static_cast<std::int64_t>(i) == cursor_offset ? display.colours[back_cursor]
                                                                : display.colours[back_cursorline];
    unsigned code = wide ? (b << 8) | static_cast<unsigned char>(text[i + 1]) : b;
    draw_glyph(display, row, c, code, display.colours[text_special], bg);
    c += wide ? 2 : 1;
    i += wide ? 2 : 1;
  }
  invalidate(display, cell_block_rect(display.metrics, row, first, 1, pane.columns));
}

}  // namespace vintorel
