// The painter's edge cases on memory surfaces (the reference image covers a
// whole pane): glyph colour correction, codes without a glyph, tabs in a
// selection, full-width characters at edges and the input-method composition.
#include <gtest/gtest.h>

#include "display/painter.h"
#include "display/painter_display.h"
#include "display_fixture.h"

namespace vintorel {
namespace {

using test::display_fixture;
using test::fill_document;
using test::rgb;

TEST(ForegroundCorrection, EveryCase) {
  const colour black = rgb(0, 0, 0);
  // Equal colours: 64..191 move by 128, the rest are mirrored.
  EXPECT_EQ(corrected_foreground(rgb(100, 100, 100), rgb(100, 100, 100), black), rgb(228, 228, 228));
  EXPECT_EQ(corrected_foreground(rgb(200, 10, 64), rgb(200, 10, 64), black), rgb(55, 245, 192));
  EXPECT_EQ(corrected_foreground(rgb(191, 63, 128), rgb(191, 63, 128), black), rgb(63, 192, 0));
  // 255 on 255 becomes 0:0:0, which is "back normal" and so ends as 16:16:16.
  EXPECT_EQ(corrected_foreground(rgb(255, 255, 255), rgb(255, 255, 255), black), rgb(16, 16, 16));
  // A foreground equal to "back normal" (the status line's text): ±16.
  EXPECT_EQ(corrected_foreground(black, rgb(255, 255, 255), black), rgb(16, 16, 16));
  EXPECT_EQ(corrected_foreground(rgb(200, 127, 128), rgb(1, 1, 1), rgb(200, 127, 128)), rgb(184, 143, 112));
  // Both steps: equal colours whose correction lands on "back normal".
  EXPECT_EQ(corrected_foreground(rgb(100, 100, 100), rgb(100, 100, 100), rgb(228, 228, 228)), rgb(212, 212, 212));
  // Nothing to correct.
  EXPECT_EQ(corrected_foreground(rgb(1, 2, 3), rgb(4, 5, 6), black), rgb(1, 2, 3));
}

TEST(DrawGlyph, FullWidthGlyphsAndCodesWithoutOne) {
  display_fixture f;
  ASSERT_TRUE(f.loaded);
  const palette& p = f.display.colours;
  for (unsigned code : {0x82A0u, 0x889Fu, 0xE040u, 0xEAA4u, 0xFA40u}) {
    draw_glyph(f.display, 2, 10, code, p[text_keyword], p[back_normal]);
    EXPECT_EQ(f.full_code_at(2, 10, p[text_keyword]), code) << std::hex << code;
  }
  // 0xF040 lies in no block of the test font: an empty cell. 0xF03F has no
  // place in the sheets at all: the same, with no read outside them.
  for (unsigned code : {0xF040u, 0xF03Fu, 0xFD40u}) {
    draw_glyph(f.display, 2, 10, code, p[text_keyword], p[back_select]);
    EXPECT_TRUE(f.cell_background_is(2, 10, p[back_select], 2));
    EXPECT_EQ(f.cell_pixel(2, 10, 0, 1), f.value(p[back_select]));
  }
}

struct pane_fixture : display_fixture {
  text_document doc;
  pane_view pane;
  byte_string search;
  pane_fixture() {
    pane = pane_of(display, 0);
    display.search_string = &search;
  }
  void show(const std::vector<byte_string>& lines) {
    fill_document(doc, lines);
  }
  void paint(std::int32_t line = 0) { paint_line(display, pane, doc, line); }
  const palette& colours() const { return display.colours; }
  // Text row of line 0.
  int row() const { return pane.first_row; }
};

TEST(PaintLine, TabsInsideASelectionFillUpToTheTabStop) {
  pane_fixture f;
  ASSERT_TRUE(f.loaded);
  const palette& p = f.colours();
  f.show({"ab\tc\td\r\n", "\x1A"});
  // A character block from offset 2 (the first tab) to offset 4 (the second).
  f.doc.block_state = 2;
  f.doc.anchor_line = 0;
  f.doc.anchor_position = 2;
  f.doc.current_line = 0;
  f.doc.position = 4;
  f.paint();
  for (int c = 2; c < 8; ++c) EXPECT_TRUE(f.cell_background_is(f.row(), c, p[back_select])) << c;
  EXPECT_EQ(f.half_code_at(f.row(), 8, p[text_normal]), unsigned('c'));
  EXPECT_TRUE(f.cell_background_is(f.row(), 8, p[back_select]));
  // The second tab lies outside: its skipped cells keep the row background.
  for (int c = 9; c < 16; ++c) EXPECT_TRUE(f.cell_background_is(f.row(), c, p[back_normal])) << c;
  EXPECT_EQ(f.half_code_at(f.row(), 16, p[text_normal]), unsigned('d'));
  EXPECT_TRUE(f.cell_background_is(f.row(), 1, p[back_normal]));

  // Cursor before the anchor: the same span.
  f.doc.block_backward = true;
  f.doc.anchor_position = 4;
  f.doc.position = 2;
  f.paint();
  EXPECT_TRUE(f.cell_background_is(f.row(), 5, p[back_select]));
  EXPECT_TRUE(f.cell_background_is(f.row(), 9, p[back_normal]));

  // A tab scrolled partly off the left fills only its visible cells.
  f.doc.block_backward = false;
  f.doc.anchor_position = 0;
  f.doc.position = 6;
  f.doc.left_column = 4;
  f.paint();
  for (int c = 0; c < 4; ++c) EXPECT_TRUE(f.cell_background_is(f.row(), c, p[back_select])) << c;
  EXPECT_EQ(f.half_code_at(f.row(), 4, p[text_normal]), unsigned('c'));
}

TEST(PaintLine, FullWidthCharactersAreNeverSplit) {
  pane_fixture f;
  ASSERT_TRUE(f.loaded);
  const palette& p = f.colours();
  // 79 letters, then a full-width character whose first cell would be the last column.
  f.show({byte_string(79, 'a') + "\x82\xA0" + "b\r\n", "\x82\xA0" + byte_string("bc\r\n"), "\x1A"});
  f.paint(0);
  EXPECT_EQ(f.half_code_at(f.row(), 78, p[text_normal]), unsigned('a'));
  EXPECT_TRUE(f.cell_background_is(f.row(), 79, p[back_normal]));
  EXPECT_EQ(f.cell_pixel(f.row(), 79, 0, 1), f.value(p[back_normal]));
  // Scrolled one column: the character's first cell is off the left edge, so
  // nothing of it is drawn.
  f.doc.left_column = 1;
  f.paint(1);
  EXPECT_TRUE(f.cell_background_is(f.row() + 1, 0, p[back_normal]));
  EXPECT_EQ(f.cell_pixel(f.row() + 1, 0, 0, 1), f.value(p[back_normal]));
  EXPECT_EQ(f.half_code_at(f.row() + 1, 1, p[text_normal]), unsigned('b'));
  // In a narrower pane the same rule holds at its own edge.
  f.pane.columns = 5;
  f.doc.left_column = 0;
  f.show({"abcd\x82\xA0\r\n", "\x1A"});
  f.paint(0);
  EXPECT_EQ(f.half_code_at(f.row(), 3, p[text_normal]), unsigned('d'));
  EXPECT_TRUE(f.cell_background_is(f.row(), 4, p[back_normal]));
}

TEST(PaintLine, LinesOutsideThePaneOrUnreadablePaintNothing) {
  pane_fixture f;
  ASSERT_TRUE(f.loaded);
  f.show({"a\r\n", "\x1A"});
  f.display.invalid = pixel_rect{};
  f.paint(5);        // no such line
  f.paint(-1);       // above the pane
  f.doc.top_line = 1;
  f.paint(0);
  EXPECT_TRUE(f.display.invalid.empty());
}

TEST(Composition, AttributesCursorAndWrapping) {
  pane_fixture f;
  ASSERT_TRUE(f.loaded);
  const palette& p = f.colours();
  // "ab" + hiragana A + "c" with the target clause on "b" and the cursor on "c".
  const std::string text = "ab\x82\xA0" "c";
  const std::string attributes = std::string("\x00\x01\x00\x00\x00", 5);
  draw_composition(f.display, f.pane, 3, 10, text, attributes, 4);
  EXPECT_EQ(f.half_code_at(3, 10, p[text_special]), unsigned('a'));
  EXPECT_TRUE(f.cell_background_is(3, 10, p[back_cursorline]));
  EXPECT_TRUE(f.cell_background_is(3, 11, p[back_select]));
  EXPECT_EQ(f.full_code_at(3, 12, p[text_special]), 0x82A0u);
  EXPECT_TRUE(f.cell_background_is(3, 14, p[back_cursor]));
  // A full-width character that would start in the last column continues at
  // the pane's first column on the same row, and so does any character past it.
  draw_composition(f.display, f.pane, 5, 78, "x\x82\xA0y", std::string(), -1);
  EXPECT_EQ(f.half_code_at(5, 78, p[text_special]), unsigned('x'));
  EXPECT_EQ(f.full_code_at(5, 0, p[text_special]), 0x82A0u);
  EXPECT_EQ(f.half_code_at(5, 2, p[text_special]), unsigned('y'));
  EXPECT_TRUE(f.cell_background_is(5, 79, p[back_normal]));
}

}  // namespace
}  // namespace vintorel
