// Painting straight into the locked images must leave exactly the pixels the
// surface copies leave: two displays paint the same texts, one with every
// lock refused (so everything goes through the copies), and their text and
// screen images are compared pixel for pixel in both pixel formats.
#include <gtest/gtest.h>

#include <random>

#include "display/keyword_match.h"
#include "display/status_line.h"
#include "display_fixture.h"

namespace vintorel {
namespace {

using test::display_fixture;

// Half-width glyphs with a different bit pattern in every row, so that a glyph
// taken from the wrong place or shifted by a pixel shows.
std::vector<std::uint8_t> patterned_half_font() {
  std::vector<std::uint8_t> out = test::font_header_bytes(8, 16, false);
  for (unsigned code = 0; code < 256; ++code)
    for (unsigned row = 0; row < 16; ++row) out.push_back(static_cast<std::uint8_t>(code * 37 + row * 11 + row * row));
  return out;
}

struct twin_displays {
  display_fixture copies;
  display_fixture direct;
  byte_string search;

  explicit twin_displays(pixel_format format) : copies(false, format), direct(false, format) {
    for (display_fixture* f : {&copies, &direct}) {
      f->display.half_width_font = f->dir.write("patterned.fnt", patterned_half_font());
      f->loaded = create_surfaces(f->display) && load_sheets(f->display);
    }
    copies.backend.fail_lock_after = 0;  // every lock refused from here on
  }
  bool loaded() const { return copies.loaded && direct.loaded; }

  template <class Change>
  void both(Change change) {
    change(copies.display);
    change(direct.display);
  }

  // The first differing pixel of the two images, or "" when they agree.
  static std::string difference(surface& a, surface& b, const char* name) {
    for (int y = 0; y < a.height(); ++y)
      for (int x = 0; x < a.width(); ++x)
        if (a.pixel_at(x, y) != b.pixel_at(x, y))
          return std::string(name) + " differs at " + std::to_string(x) + "," + std::to_string(y) + ": copies " +
                 std::to_string(a.pixel_at(x, y)) + ", direct " + std::to_string(b.pixel_at(x, y));
    return "";
  }
  std::string difference() {
    std::string d = difference(*copies.display.surfaces.text_image, *direct.display.surfaces.text_image, "text image");
    if (d.empty())
      d = difference(*copies.display.surfaces.screen_image, *direct.display.surfaces.screen_image, "screen image");
    return d;
  }
};

byte_string random_line(std::mt19937& random) {
  // Characters a text can hold, weighted towards the cases painting treats
  // apart: double-byte codes (with and without glyphs), tabs, controls, CR.
  static const std::vector<byte_string> pieces = {
      "int", "main", "MAIN", "x", " ", "\t", "\x01", "\x1B", "\r", "_", "0", "return",
      "\x81\x40", "\x82\xA0", "\x88\x9F", "\x85\x40", "\xEA\xA4", "\x81\x7F", "\xFC\xFC", "\xB1", "\xDF", "\x81"};
  byte_string line;
  const int n = static_cast<int>(random() % 40);
  for (int i = 0; i < n; ++i) line += pieces[random() % pieces.size()];
  return line + "\r\n";
}

class DirectPaint : public ::testing::TestWithParam<int> {
 protected:
  pixel_format format() const { return GetParam() == 16 ? rgb565_format() : rgb32_format(); }
};

TEST_P(DirectPaint, LinesAndPanesMatchTheCopiesUnderEveryColourRule) {
  twin_displays t(format());
  ASSERT_TRUE(t.loaded());
  std::mt19937 random(GetParam());
  for (int round = 0; round < 40; ++round) {
    std::vector<byte_string> lines;
    const int count = 1 + static_cast<int>(random() % 24);
    for (int i = 0; i < count; ++i) lines.push_back(random_line(random));
    lines.push_back("\x1A");
    text_document doc;
    test::fill_document(doc, lines, "sample.c");
    doc.left_column = static_cast<std::int32_t>(random() % 4);
    doc.top_line = static_cast<std::int32_t>(random() % 3);
    doc.current_line = static_cast<std::int32_t>(random() % lines.size());
    doc.anchor_line = static_cast<std::int32_t>(random() % lines.size());
    doc.position = static_cast<std::int32_t>(random() % 12);
    doc.anchor_position = static_cast<std::int32_t>(random() % 12);
    doc.block_state = static_cast<block_kind>(random() % 3);
    doc.block_backward = random() % 2;
    t.search = random() % 3 ? "main" : random() % 2 ? "*ai" : "\x82\xA0";
    const bool dual = round % 5 == 4;
    const unsigned switches = random();
    const int tab = 1 + static_cast<int>(random() % 8);
    const bool odd_colours = round % 4 == 3;
    t.both([&](display_context& d) {
      set_pane_layout(d.layout, d.lines, d.columns, dual, round % 10 == 9);
      d.search_string = &t.search;
      d.switches.ignore_case = switches & 1;
      d.switches.view_tab = switches & 2;
      d.switches.view_linefeed = switches & 4;
      d.switches.view_eof = switches & 8;
      d.switches.view_mb_space = switches & 16;
      d.switches.word_search = switches & 32;
      d.pane_styles[0].tab_size = tab;
      d.pane_styles[0].keywords = byte_string("int\0return\0ma\0\x82\xA0\0\0", 18);
      d.colours = palette();
      if (odd_colours) {
        // Glyphs in their own background and in "back normal" get corrected
        // colours; a search hit in the selection colour meets it.
        d.colours[text_search] = d.colours[back_select];
        d.colours[text_keyword] = d.colours[back_normal];
        d.colours[text_special] = colour{100, 100, 100};
      }
    });
    const pane_view pane = pane_of(t.direct.display, 0);
    for (std::int32_t line = doc.top_line; line < doc.line_count(); ++line) {
      paint_line(t.copies.display, pane, doc, line);
      paint_line(t.direct.display, pane, doc, line);
    }
    ASSERT_EQ(t.difference(), "") << "paint_line, round " << round;
    doc.top_line = 0;
    // The cursor's column strip covers the gaps between rows in the screen
    // image; a repaint leaves the gap above its cleared rows alone.
    t.both([&](display_context& d) { draw_cursor(d, pane.first_row, pane.first_column, pane.rows, pane.columns, pane.first_row + 1, 5); });
    repaint_pane(t.copies.display, pane, doc);
    repaint_pane(t.direct.display, pane, doc);
    ASSERT_EQ(t.difference(), "") << "repaint_pane, round " << round;
  }
}

TEST_P(DirectPaint, StringsCompositionAndCellsPastTheImageEdgeMatchTheCopies) {
  twin_displays t(format());
  ASSERT_TRUE(t.loaded());
  const colour grey{100, 100, 100};
  const byte_string text = "ab\x81\x40\x88\x9F\x85\x40\x01 \xB1" "c\x82\xA0";
  t.both([&](display_context& d) {
    draw_string(d, 3, 75, 6, text, grey, grey);
    draw_string(d, 5, 0, 80, text, d.colours[back_normal], d.colours[bar_console]);
    draw_composition(d, pane_of(d, 0), 7, 76, text, "\x01\x00\x03", 4);
    // Cells the images hold only in part, and codes with no glyph place.
    const int last_column = d.surfaces.image_width / d.metrics.width - 1;
    draw_glyph(d, 2, last_column, 0x889F, d.colours[text_keyword], d.colours[back_select]);
    draw_glyph(d, 2, 10, 0xF040, d.colours[text_normal], d.colours[back_select]);
    draw_glyph(d, 26, 10, 'Q', d.colours[text_normal], d.colours[back_normal]);
  });
  EXPECT_EQ(t.difference(), "");
}

// A line painted straight into the images clears only the part of its row end
// not known to hold the background: every other kind of write to the row in
// between must leave nothing stale behind.
TEST_P(DirectPaint, RowEndsClearedOnlyWhereNeededStillMatchAfterEveryOtherWrite) {
  twin_displays t(format());
  ASSERT_TRUE(t.loaded());
  const byte_string long_line = byte_string(40, 'x') + "\x88\x9F\x88\x9F" + byte_string(30, 'y') + "\r\n";
  text_document doc;
  test::fill_document(doc, {long_line, "ab\r\n", long_line, "\x1A"}, "a.txt");
  const pane_view pane = pane_of(t.direct.display, 0);
  const int row = pane.first_row;
  auto paint_first = [&](const char* step) {
    t.both([&](display_context& d) { paint_line(d, pane, doc, 0); });
    ASSERT_EQ(t.difference(), "") << step;
  };
  auto shorten = [&] { doc.replace_line(0, "ab\r\n"); };

  paint_first("long line");
  shorten();
  paint_first("the same line shortened");
  paint_first("painted again unchanged");
  t.both([&](display_context& d) { draw_cursor(d, pane.first_row, pane.first_column, pane.rows, pane.columns, row, 50); });
  paint_first("after the cursor highlight");
  t.both([&](display_context& d) { fill_cells(d, row, 60, 1, 5, d.colours[bar_console]); });
  paint_first("after a fill in the row end");
  t.both([&](display_context& d) { draw_string(d, row, 30, 10, "\x88\x9Fzz", d.colours[text_keyword], d.colours[back_select]); });
  paint_first("after a string in the row end");
  t.both([&](display_context& d) { draw_glyph(d, row, 79, 'Q', d.colours[text_normal], d.colours[back_select]); });
  paint_first("after a glyph at the row's last cell");
  t.both([&](display_context& d) { paint_line(d, pane, doc, 2); });
  t.both([&](display_context& d) { shift_rows(d, row + 2, 0, 1, 80, true); });
  t.both([&](display_context& d) { shift_rows(d, row + 1, 0, 1, 80, true); });
  paint_first("after a longer row was moved onto it");
  // A line block paints the whole row, its end included, in the selection colour.
  doc.block_state = block_kind::lines;
  doc.anchor_line = 0;
  doc.current_line = 1;
  paint_first("inside a line block");
  doc.block_state = block_kind::none;
  paint_first("out of the line block again");
  t.both([&](display_context& d) {
    set_pane_layout(d.layout, d.lines, d.columns, true, true);
    paint_line(d, pane_of(d, 1), doc, 2);
    set_pane_layout(d.layout, d.lines, d.columns, false, false);
  });
  paint_first("after a line of the other pane beside it");
  // Typing and deleting as the editor does it: the cursor taken away, the
  // line painted, the cursor drawn again.
  byte_string typed;
  for (int step = 0; step < 24; ++step) {
    const int cursor = static_cast<int>(typed.size());
    if (step % 8 < 5)
      typed += step % 2 ? "\x88\x9F" : "q";
    else
      typed.resize(typed.size() - 1);
    doc.replace_line(0, typed + "\r\n");
    t.both([&](display_context& d) {
      erase_cursor(d, pane.first_row, pane.first_column, pane.rows, pane.columns, row, cursor);
      paint_line(d, pane, doc, 0);
      draw_cursor(d, pane.first_row, pane.first_column, pane.rows, pane.columns, row,
                  static_cast<int>(typed.size()));
    });
    ASSERT_EQ(t.difference(), "") << "typing, step " << step;
  }
  doc.replace_line(0, long_line);
  doc.top_line = 0;
  t.both([&](display_context& d) { repaint_pane(d, pane, doc); });
  ASSERT_EQ(t.difference(), "") << "whole pane";
  t.both([&](display_context& d) { d.metrics.between = 1; });
  shorten();
  t.both([&](display_context& d) { repaint_pane(d, pane, doc); });
  ASSERT_EQ(t.difference(), "") << "whole pane with rows closer together";
}

INSTANTIATE_TEST_SUITE_P(PixelFormats, DirectPaint, ::testing::Values(32, 16));

TEST(DirectPaint, ASurfaceLostWhilePaintingIsRebuiltAndTheLineStillPainted) {
  display_fixture f;
  ASSERT_TRUE(f.loaded);
  text_document doc;
  test::fill_document(doc, {"abc\r\n", "\x88\x9F\x1A"}, "a.txt");
  doc.current_line = 1;
  const pane_view pane = pane_of(f.display, 0);
  // The lock of the full-width sheet (the third of the line) finds every
  // surface lost: the line is painted again by the copies after a rebuild.
  int locks = 0;
  f.backend.before_each_operation = [&](memory_backend& b) {
    if (++locks == 3) b.lose_surfaces();
  };
  paint_line(f.display, pane, doc, 1);
  EXPECT_EQ(f.display.rebuilds, 1);
  f.backend.before_each_operation = nullptr;
  // Row 1 of the full-width test glyph is all ink in "text normal".
  const int y = (pane.first_row + 1) * (16 + 3) + 1;
  EXPECT_EQ(f.screen().pixel_at(3, y), f.value(f.display.colours[text_normal]));
  EXPECT_EQ(f.screen().pixel_at(16, y), f.value(f.display.colours[back_normal]));
}

TEST(KeywordTable, FindsWhatTheKeywordBlockFinds) {
  std::mt19937 random(7);
  const char alphabet[] = "ab_1 .\x82\xA0";
  auto random_bytes = [&](int n) {
    byte_string s;
    for (int i = 0; i < n; ++i) s += alphabet[random() % (sizeof alphabet - 1)];
    return s;
  };
  for (int round = 0; round < 300; ++round) {
    // Keywords of one to three bytes, sometimes without the ending empty one.
    byte_string block;
    const int words = static_cast<int>(random() % 6);
    for (int i = 0; i < words; ++i) block += random_bytes(1 + static_cast<int>(random() % 3)) + '\0';
    if (random() % 2) block += '\0';
    keyword_table table;
    prepare_keywords(table, block);
    const byte_string line = random_bytes(12);
    for (std::size_t p = 0; p <= line.size(); ++p)
      ASSERT_EQ(keyword_at(table, line, p), keyword_at(block, line, p)) << "round " << round << " at " << p;
  }
}

}  // namespace
}  // namespace vintorel
