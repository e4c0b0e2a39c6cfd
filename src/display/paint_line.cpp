// Painting text lines and whole panes: colours for search hits, keywords and
// the block, marks for control characters, tabs, line ends and the end mark.
#include <algorithm>
#include <vector>

#include "display/image_writer.h"
#include "display/keyword_match.h"
#include "display/painter.h"
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
  pane.keywords = &display.pane_styles[index].keywords;
  return pane;
}

pane_view current_pane(const display_context& display) { return pane_of(display, display.layout.current_pane); }

const byte_string& keywords_of(const display_context&, const pane_view& pane) {
  return pane.keywords ? *pane.keywords : empty_bytes();
}

namespace {

const search_pattern& prepared_search(display_context& display) {
  static const search_pattern nothing;
  if (!display.search_string) return nothing;
  paint_preparations& p = display.prepared;
  const display_switches& sw = display.switches;
  if (!p.search_made || p.search_source != *display.search_string || p.search_ignore_case != sw.ignore_case ||
      p.search_word != sw.word_search) {
    p.search = prepare_pattern(*display.search_string, sw.ignore_case, sw.word_search);
    p.search_source = *display.search_string;
    p.search_ignore_case = sw.ignore_case;
    p.search_word = sw.word_search;
    p.search_made = true;
  }
  return p.search;
}

const keyword_table* prepared_keywords(display_context& display, const byte_string& keywords) {
  if (keywords.empty() || keywords[0] == '\0') return nullptr;
  paint_preparations& p = display.prepared;
  for (std::size_t i = 0; i < p.keywords.size(); ++i)
    if (p.keywords_made[i] && p.keywords[i].block == keywords) return &p.keywords[i];
  const std::size_t slot = static_cast<std::size_t>(p.keywords_next);
  p.keywords_next = 1 - p.keywords_next;
  prepare_keywords(p.keywords[slot], keywords);
  p.keywords_made[slot] = true;
  return &p.keywords[slot];
}

// Paints through surface copies: the row cleared first, each glyph by
// draw_glyph's copies.
struct copies_sink {
  display_context& display;
  int row;
  void begin(int first_column, int columns, const colour& background) {
    fill_cells(display, row, first_column, 1, columns, background);
  }
  bool glyph(int column, int, unsigned code, const colour& fg, const colour& bg) {
    draw_glyph_with_copies(display, row, column, code, fg, bg);
    return true;
  }
  bool cell(int column, const colour& c) {
    fill_cells(display, row, column, 1, 1, c);
    return true;
  }
  bool end() { return true; }
};

// Paints into the locked images: only the cells no glyph covers are filled
// with the row background, once per run of such cells, and of the row end
// only what does not hold the background already.
struct direct_sink {
  display_context& display;
  image_writer& writer;
  int row;
  int next = 0;  // first column not painted yet
  int end_column = 0;
  colour background{};
  pixel_rect row_rect{};

  void begin(int first_column, int columns, const colour& row_background) {
    next = first_column;
    end_column = first_column + columns;
    background = row_background;
    row_rect = cell_block_rect(display.metrics, row, first_column, 1, columns);
  }
  bool gap_to(int column) {
    if (column <= next) return true;
    const bool ok = writer.fill(cell_block_rect(display.metrics, row, next, 1, column - next), background);
    next = column;
    return ok;
  }
  bool glyph(int column, int cells, unsigned code, const colour& fg, const colour& bg) {
    if (!gap_to(column) || !writer.glyph(row, column, code, fg, bg)) return false;
    next = column + cells;
    return true;
  }
  bool cell(int column, const colour& c) {
    if (!gap_to(column) || !writer.fill(cell_block_rect(display.metrics, row, column, 1, 1), c)) return false;
    next = column + 1;
    return true;
  }
  bool end() {
    if (!writer.clear_row_end(row, next, end_column, background)) return false;
    invalidate(display, row_rect);
    return true;
  }
};

// Walks the line's bytes and hands each cell to the sink. False when the sink
// failed part way (the row may then be painted in part).
template <class Sink>
bool walk_line(display_context& display, const pane_view& pane, const text_document& document, std::int32_t line,
               const byte_string& text, const search_pattern& pattern, const keyword_table* keywords, Sink& sink) {
  const int columns = pane.columns;
  const palette& colours = display.colours;
  const display_switches& sw = display.switches;

  const block_span block = block_on_line(document, line);
  const colour row_background = block.whole_line && document.block_state == block_kind::lines ? colours[back_select]
                                                                                              : colours[back_normal];
  sink.begin(pane.first_column, columns, row_background);

  const int tab = pane.tab();
  // Hits are found by the scanner searching uses (the same matches as testing
  // every character start, for one pass of the library's search per line).
  match_scanner hits(text, pattern);
  std::size_t next_hit = 0;
  bool next_hit_known = false;
  std::int64_t hit_left = 0;
  std::int64_t keyword_left = 0;
  std::int64_t k = -static_cast<std::int64_t>(document.left_column);
  std::size_t i = 0;
  while (k < columns && i < text.size()) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    if (pattern.usable && hit_left <= 0) {
      if (!next_hit_known || next_hit < i) {
        next_hit = hits.next(i, text.size(), text.size());
        next_hit_known = true;
      }
      if (next_hit == i) hit_left = static_cast<std::int64_t>(pattern.n);
    }
    if (keyword_left <= 0 && keywords &&
        (i == 0 || !is_word_byte(static_cast<unsigned char>(text[i - 1])) || !is_word_byte(b)))
      keyword_left = static_cast<std::int64_t>(keyword_at(*keywords, text, i));

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
        if (!sink.glyph(cell, 2, code, fg, bg)) return false;
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
      bool ok = true;
      if (b == '\t')
        ok = sw.view_tab ? sink.glyph(cell, 1, tab_mark, colours[text_special], bg) : sink.glyph(cell, 1, ' ', fg, bg);
      else if (b == '\n')
        ok = sw.view_linefeed ? sink.glyph(cell, 1, linefeed_mark, colours[text_special], bg)
                              : sink.glyph(cell, 1, ' ', fg, bg);
      else if (b == end_mark)
        ok = sw.view_eof ? sink.glyph(cell, 1, end_of_file_mark, colours[text_special], bg)
                         : sink.glyph(cell, 1, ' ', fg, bg);
      else if (b < 0x20)
        ok = sink.glyph(cell, 1, b + 0x40, colours[text_special], bg);
      else
        ok = sink.glyph(cell, 1, b, fg, bg);
      if (!ok) return false;
    }
    if (b == '\t') {
      const std::int64_t p = document.left_column + k;
      const std::int64_t extra = tab - (p % tab) - 1;
      if (bg == colours[back_select]) {
        for (std::int64_t e = k + 1; e <= k + extra; ++e)
          if (e >= 0 && e < columns && !sink.cell(pane.first_column + static_cast<int>(e), bg)) return false;
      }
      k += extra;
    }
    i += 1;
    k += 1;
    hit_left -= 1;
    keyword_left -= 1;
  }
  return sink.end();
}

// Paints one line; with a usable writer straight into the images, else (or
// when the writer fails part way) by surface copies. False when the line could
// not be read (nothing is painted then).
bool paint_one_line(display_context& display, image_writer* writer, const pane_view& pane, text_document& document,
                    std::int32_t line) {
  const std::int32_t relative = line - document.top_line;
  if (relative < 0 || relative >= pane.rows) return false;
  const int row = pane.first_row + relative;

  byte_string fetched;
  const byte_string* bytes = nullptr;
  if (line == document.current_line && document.current) {
    bytes = &document.current->text;
  } else {
    if (!document.fetch_line(line, fetched)) return false;
    bytes = &fetched;
  }
  // The same matching rules as searching; an empty or unusable pattern
  // highlights nothing.
  const search_pattern& pattern = prepared_search(display);
  const keyword_table* keywords = prepared_keywords(display, keywords_of(display, pane));

  if (writer && writer->usable()) {
    direct_sink sink{display, *writer, row, 0, 0, {}, {}};
    if (walk_line(display, pane, document, line, *bytes, pattern, keywords, sink)) return true;
    // A surface was lost or refused: the copies rebuild and paint it all again.
    writer->release();
  }
  copies_sink sink{display, row};
  walk_line(display, pane, document, line, *bytes, pattern, keywords, sink);
  return true;
}

}  // namespace

void paint_line(display_context& display, const pane_view& pane, text_document& document, std::int32_t line) {
  image_writer writer(display);
  paint_one_line(display, &writer, pane, document, line);
}

void repaint_pane(display_context& display, const pane_view& pane, text_document& document) {
  const std::int32_t count = std::max<std::int32_t>(0, std::min(document.line_count(), pane.rows));
  {
    image_writer writer(display);
    if (writer.usable()) {
      // Every row but the first is cleared, and each line then paints its own
      // row over again: clearing only what no line paints (the rows past the
      // end or that could not be read, and the gaps between rows) leaves the
      // same image.
      std::vector<bool> painted(static_cast<std::size_t>(std::max(pane.rows, 0)), false);
      for (std::int32_t n = 0; n < count; ++n)
        painted[static_cast<std::size_t>(n)] =
            paint_one_line(display, &writer, pane, document, document.top_line + n);
      const cell_metrics& m = display.metrics;
      const colour blank = display.colours[back_normal];
      bool ok = writer.usable();
      for (std::int32_t n = 1; ok && n < pane.rows; ++n) {
        const int row = pane.first_row + n;
        if (!painted[static_cast<std::size_t>(n)])
          ok = writer.clear_row_end(row, pane.first_column, pane.first_column + pane.columns, blank);
        if (ok && n + 1 < pane.rows)
          ok = writer.clear_gap_below(row, pane.first_column, pane.first_column + pane.columns, blank);
      }
      if (ok) {
        invalidate(display, cell_block_rect(m, pane.first_row + 1, pane.first_column, pane.rows - 1, pane.columns));
        writer.release();
        draw_status_line(display, pane, document);
        return;
      }
    }
  }
  fill_cells(display, pane.first_row + 1, pane.first_column, pane.rows - 1, pane.columns,
             display.colours[back_normal]);
  for (std::int32_t n = 0; n < count; ++n) paint_one_line(display, nullptr, pane, document, document.top_line + n);
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
